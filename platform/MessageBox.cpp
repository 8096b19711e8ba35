#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
std::deque<MessageBox::Answer>& nextAnswers() {
    static std::deque<MessageBox::Answer> answers;
    return answers;
}
std::vector<MessageBox::Shown>& answeredBoxes() {
    static std::vector<MessageBox::Shown> boxes;
    return boxes;
}
} // namespace

bool MessageBox::takeNextAnswer(Kind kind, const QString& caption, const QString& text,
                                Answer& answer) {
    if (nextAnswers().empty()) return false;
    answer = nextAnswers().front();
    nextAnswers().pop_front();
    answeredBoxes().push_back({kind, caption, text});
    return true;
}

void MessageBox::showError(const QString& message) {
    const QString caption = QApplication::applicationName();
    const QString text = message + QLatin1Char('.');
    Answer answer;
    if (takeNextAnswer(Kind::Error, caption, text, answer)) return;
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setAccessibleName(caption);
    box.exec();
}

MessageBox::Answer MessageBox::askYesNo(const QString& caption, const QString& text) {
    Answer answer;
    if (takeNextAnswer(Kind::Question, caption, text, answer)) return answer;
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setAccessibleName(caption);
    return box.exec() == QMessageBox::Yes ? Yes : No;
}

void MessageBox::setNextAnswer(Answer answer) {
    nextAnswers().push_back(answer);
}

const std::vector<MessageBox::Shown>& MessageBox::answered() {
    return answeredBoxes();
}

void MessageBox::clearAnswered() {
    answeredBoxes().clear();
}
