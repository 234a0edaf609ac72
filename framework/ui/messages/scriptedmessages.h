#pragma once

#include "framework/ui/messages/messageservice.h"

#include <QList>
#include <QQueue>
#include <stdexcept>

// A message service for tests: records every text shown with its kind and answers questions
// from a script. A question with no scripted answer is recorded in unanswered() and thrown as
// UnscriptedQuestion, so a test never passes on an answer it did not choose.
class ScriptedMessages : public MessageService {
public:
    struct Shown {
        DialogType type;
        QString text;
    };

    struct UnscriptedQuestion : std::logic_error {
        using std::logic_error::logic_error;
    };

    // Installs itself as the current service; the destructor puts the previous one back.
    ScriptedMessages();
    ~ScriptedMessages() override;

    void answer(int result) { answers.enqueue(result); }
    // Scripts the answer of the next chooseName (an empty text cancels).
    void answerName(const QString &name) { nameAnswers.enqueue(name); }
    int show(DialogType type, const QString &text, DialogButtons buttons) override;
    QString chooseName(const QString &prompt, const QStringList &names, bool allowNew) override;
    // The names offered by the last chooseName.
    const QStringList &offeredNames() const { return lastOffered; }

    const QList<Shown> &shown() const { return shownTexts; }
    QStringList texts() const;
    QStringList textsOf(DialogType type) const;
    QString last() const { return shownTexts.isEmpty() ? QString() : shownTexts.last().text; }
    const QStringList &unanswered() const { return unansweredTexts; }
    int pendingAnswers() const { return int(answers.size()); }
    void clear();

private:
    MessageService *previous;
    QQueue<int> answers;
    QQueue<QString> nameAnswers;
    QStringList lastOffered;
    QList<Shown> shownTexts;
    QStringList unansweredTexts;
};
