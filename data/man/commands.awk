# Turns the "Comandos:" list of a program's --help into man-page paragraphs, so
# the manual names every command the program knows. A command starts on a line
# of two blanks and a lower-case word; its synopsis ends at the first run of two
# blanks; deeper-indented lines continue its description.

function roff(text) {
    gsub(/\\/, "\\e", text)
    gsub(/-/, "\\-", text)
    return text
}

function flush() {
    if (name == "")
        return
    synopsis = roff(synopsis)
    # Placeholders such as ARCHIVO.ORV or N in italics.
    gsub(/[A-Z][A-Z0-9_]*(\.[A-Za-z0-9]+)?/, "\\fI&\\fR", synopsis)
    print ".TP"
    print "\\fB" roff(name) "\\fR" synopsis
    text = roff(description)
    if (text ~ /^[.']/)
        text = "\\&" text
    print text
    name = ""
}

/^Comandos:/ { inside = 1; next }
!inside { next }
/^  [a-z]/ {
    flush()
    line = substr($0, 3)
    split(line, words, " ")
    name = words[1]
    rest = substr(line, length(name) + 1)
    gap = index(rest, "  ")
    if (gap > 0) {
        synopsis = substr(rest, 1, gap - 1)
        description = substr(rest, gap)
    } else {
        synopsis = rest
        description = ""
    }
    sub(/^ +/, "", description)
    next
}
/^   / && name != "" {
    more = $0
    sub(/^ +/, "", more)
    description = description == "" ? more : description " " more
    next
}
{ flush() }
END { flush() }
