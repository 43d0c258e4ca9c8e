#pragma once

#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QtTest>

namespace orvex::test {

// What a rate window test hands its windows; reset() before each test function.
struct RateUi {
    SharedState state;
    ScriptedMessageService messages;
    ScriptedFileDialogService files;
    AppContext ctx { state, messages, files };

    void reset()
    {
        state = SharedState {};
        messages.shown.clear();
    }
    // The messages shown so far, one line each: "icon title: text".
    QString shown() const
    {
        const char* icons[] = { "none", "critical", "question", "exclamation", "information" };
        QStringList lines;
        for (const MessageRequest& m : messages.shown)
            lines << icons[static_cast<int>(m.icon)] + (' ' + m.title) + ": " + m.text;
        return lines.join('\n');
    }
};

// A control by its objectName; a missing one ends the test program.
template <class T = QWidget> T* child(QObject* window, const QString& name)
{
    T* w = window->findChild<T*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

// Clicks each of the space-separated buttons near its left edge, where a radio
// button has its circle.
inline void click(QWidget* window, const QString& names)
{
    for (const QString& name : names.split(' ', Qt::SkipEmptyParts)) {
        QAbstractButton* b = child<QAbstractButton>(window, name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
}

inline void type(QWidget* window, const QString& name, const QString& text)
{
    QLineEdit* box = child<QLineEdit>(window, name);
    box->clear();
    QTest::keyClicks(box, text);
}

// A QtTest data table of text columns; each row starts with its name.
inline void table(
    std::initializer_list<const char*> columns, std::initializer_list<QStringList> rows)
{
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const QStringList& row : rows) {
        QTestData& data = QTest::newRow(qPrintable(row[0]));
        for (qsizetype i = 1; i < row.size(); ++i)
            data << row[i];
    }
}

// The text of a label or a text box.
inline QString textOf(QWidget* window, const QString& name)
{
    return child(window, name)->property("text").toString();
}

} // namespace orvex::test
