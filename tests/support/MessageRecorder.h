#pragma once

#include <QString>
#include <QStringList>
#include <deque>

#include "common/Messages.h"

// Replaces the message boxes for the lifetime of the object: errors and plain messages are
// recorded, confirmations are answered from a queue (then with the default answer) and recorded.
class MessageRecorder {
public:
    explicit MessageRecorder(bool defaultAnswer = true) : m_defaultAnswer(defaultAnswer) {
        m_previous = Messages::setPresenters(
            Messages::Presenters{[this](const QString& text) { errors << text; },
                                 [this](const QString& text) { plain << text; },
                                 [this](const QString& title, const QString& text) {
                                     questions << title + u'|' + text;
                                     if (m_answers.empty()) {
                                         return m_defaultAnswer;
                                     }
                                     const bool answer = m_answers.front();
                                     m_answers.pop_front();
                                     return answer;
                                 }});
    }
    ~MessageRecorder() { Messages::setPresenters(m_previous); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void answerNext(bool answer) { m_answers.push_back(answer); }
    void clear() {
        errors.clear();
        plain.clear();
        questions.clear();
    }

    QStringList errors;
    QStringList plain;
    QStringList questions;  // "title|text"

private:
    Messages::Presenters m_previous;
    std::deque<bool> m_answers;
    bool m_defaultAnswer;
};
