#include "framework/ui/messages/scriptedmessages.h"

ScriptedMessages::ScriptedMessages()
    : previous(&MessageService::current()) {
    MessageService::setCurrent(this);
}

ScriptedMessages::~ScriptedMessages() {
    MessageService::setCurrent(previous);
}

int ScriptedMessages::show(DialogType type, const QString &text, DialogButtons buttons) {
    shownTexts.append({type, text});
    const bool singleButton = buttons == DialogButton::Ok || buttons == DialogButton::Cancel ||
                              buttons == DialogButton::Yes || buttons == DialogButton::No || !buttons;
    if (singleButton)
        return buttons ? resultOf(DialogButton(buttons.toInt())) : ResultOk;
    if (answers.isEmpty()) {
        unansweredTexts.append(text);
        throw UnscriptedQuestion("question without a scripted answer: " + text.toStdString());
    }
    return answers.dequeue();
}

QString ScriptedMessages::chooseName(const QString &prompt, const QStringList &names, bool allowNew) {
    lastOffered = names;
    if (nameAnswers.isEmpty()) {
        unansweredTexts.append(prompt);
        throw UnscriptedQuestion("name prompt without a scripted answer: " + prompt.toStdString());
    }
    return nameAnswers.dequeue();
}

QStringList ScriptedMessages::texts() const {
    QStringList result;
    for (const Shown &entry : shownTexts)
        result.append(entry.text);
    return result;
}

QStringList ScriptedMessages::textsOf(DialogType type) const {
    QStringList result;
    for (const Shown &entry : shownTexts)
        if (entry.type == type)
            result.append(entry.text);
    return result;
}

void ScriptedMessages::clear() {
    answers.clear();
    nameAnswers.clear();
    shownTexts.clear();
    unansweredTexts.clear();
}
