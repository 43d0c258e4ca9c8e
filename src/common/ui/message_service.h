#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <exception>
#include <vector>

class QWidget;

namespace orvex {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

// Every message box of the program goes through this, so tests can answer
// them without a modal loop and check text, title, icon and buttons.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MsgAnswer show(QWidget* parent, const MessageRequest& request) = 0;

    // The calculation's fixed failure box: "ERROR", critical icon, OK.
    void calcError(QWidget* parent);

    // Runs a command at the edge of an event handler: whatever it throws ends it
    // with the calculation's message, so no exception leaves Qt's event loop.
    // False when it failed.
    template <class Command> bool guarded(QWidget* parent, Command&& command)
    {
        try {
            command();
            return true;
        } catch (const std::exception&) {
            calcError(parent);
            return false;
        }
    }
};

// Real message boxes (QMessageBox).
class QtMessageService : public MessageService {
public:
    MsgAnswer show(QWidget* parent, const MessageRequest& request) override;
};

// For tests: records every request and answers from a queue, or with the first
// button of the set when the queue is empty.
class ScriptedMessageService : public MessageService {
public:
    MsgAnswer show(QWidget* parent, const MessageRequest& request) override;

    std::vector<MessageRequest> shown;
    std::deque<MsgAnswer> answers;
};

// Open and save dialogs behind a seam, for the same reason.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // An empty string means the user cancelled. filter uses Qt's syntax
    // ("Archivos de Datos [*.ORV] (*.ORV);;Todos los Archivos [*.*] (*)").
    virtual QString openFileName(
        QWidget* parent, const QString& caption, const QString& filter, const QString& startName)
        = 0;
    // defaultSuffix ("ORV", no dot) is added to a typed name without one, as the
    // platform's own save dialogs do, so the name returned already carries it.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
        const QString& startName, const QString& defaultSuffix = {})
        = 0;
    // An open dialog that also accepts the name of a file that does not exist yet
    // (the opener creates it).
    virtual QString openOrNewFileName(
        QWidget* parent, const QString& caption, const QString& filter, const QString& startName)
    {
        return openFileName(parent, caption, filter, startName);
    }
};

class QtFileDialogService : public FileDialogService {
public:
    QString openOrNewFileName(QWidget* parent, const QString& caption, const QString& filter,
        const QString& startName) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter,
        const QString& startName) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
        const QString& startName, const QString& defaultSuffix = {}) override;
};

// For tests: answers from a queue of names (empty queue = cancelled) and records the filters.
class ScriptedFileDialogService : public FileDialogService {
public:
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter,
        const QString& startName) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
        const QString& startName, const QString& defaultSuffix = {}) override;

    std::deque<QString> names;
    QStringList filters;
    QStringList suffixes; // the default suffix of each save dialog
};

} // namespace orvex
