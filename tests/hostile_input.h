#pragma once

// Hostile texts pasted into every writable text box of a window, then the window's command:
// nothing may throw out, close the program, or show NaN or infinity as a number.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTableWidget>
#include <QtTest>
#include <functional>

namespace orvex::test {

inline QStringList hostileTexts()
{
    return { "1e400", "-1e400", "nan", "inf", "-INF", "1e-400", QString(10000, '9'),
        QString(10000, 'x'), "\n7", QString::fromUtf8("1\u00a0000"),
        QString::fromUtf8("\uff11\uff12\uff13"), QString::fromLatin1("1\0002", 3),
        QString::fromUtf8("\xff\xfe\x80 7"), "", "  ", "-0", "1,5", "1.5.5", "9999999999999" };
}

// Every text the window shows, except the one just pasted where it stays as typed.
inline QStringList shownTexts(QWidget* window, const QString& typed)
{
    QStringList texts;
    for (QLabel* l : window->findChildren<QLabel*>())
        texts << l->text();
    for (QLineEdit* e : window->findChildren<QLineEdit*>())
        texts << e->text();
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        texts << b->text();
    for (QTableWidget* t : window->findChildren<QTableWidget*>())
        for (int r = 0; r < t->rowCount(); ++r)
            for (int c = 0; c < t->columnCount(); ++c)
                if (QTableWidgetItem* item = t->item(r, c))
                    texts << item->text();
    texts << window->windowTitle();
    texts.removeAll(typed);
    return texts;
}

inline bool showsNanOrInf(QWidget* window, const QString& typed)
{
    static const QRegularExpression number(QStringLiteral("(?<![a-z])[-+]?(nan|inf)(?![a-z])"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& text : shownTexts(window, typed))
        if (number.match(text).hasMatch()) {
            qWarning("shown: %s", qPrintable(text.left(80)));
            return true;
        }
    return false;
}

// Replaces box's text with text as a paste does (so validators and length limits apply).
inline void paste(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    box->del();
    QApplication::clipboard()->setText(text);
    box->paste();
}

// Pastes each hostile text into each writable, shown text box of window (Enter after it),
// then runs command; afterCommand may check the window's own answer (messages, results).
inline void pasteHostileEverywhere(QWidget* window, const std::function<void()>& command,
    const std::function<void(const QString& field, const QString& text)>& afterCommand = {})
{
    QPointer<QWidget> alive(window);
    QStringList fields;
    for (QLineEdit* box : window->findChildren<QLineEdit*>())
        if (box->isVisibleTo(window) && box->isEnabled() && !box->isReadOnly()
            && !box->objectName().isEmpty())
            fields << box->objectName();
    QVERIFY2(!fields.isEmpty(), qPrintable(window->objectName()));
    for (const QString& field : fields)
        for (const QString& text : hostileTexts()) {
            const QString row = window->objectName() + '.' + field + " <- " + text.left(20);
            QLineEdit* box = window->findChild<QLineEdit*>(field);
            if (!box || !box->isVisible() || !box->isEnabled())
                continue; // a command may hide a box (an editor closes on Enter)
            paste(box, text);
            QTest::keyClick(box, Qt::Key_Return);
            QVERIFY2(alive, qPrintable(row));
            command();
            QVERIFY2(alive, qPrintable(row));
            QVERIFY2(!showsNanOrInf(window, text), qPrintable(row));
            if (afterCommand)
                afterCommand(field, text);
            if (QTest::currentTestFailed())
                return;
        }
}

} // namespace orvex::test
