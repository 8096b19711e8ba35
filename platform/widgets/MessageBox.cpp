#include "platform/widgets/MessageBox.h"

#include "platform/widgets/Fonts.h"

#include <QAbstractButton>
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

bool MessageBox::takeNextAnswer(const Shown& box, Answer& answer) {
    if (nextAnswers().empty()) return false;
    answer = nextAnswers().front();
    nextAnswers().pop_front();
    answeredBoxes().push_back(box);
    return true;
}

namespace {
QMessageBox::Icon iconOf(MessageBox::Kind kind) {
    return kind == MessageBox::Kind::Error ? QMessageBox::Critical : QMessageBox::Information;
}
} // namespace

void MessageBox::showError(const QString& message) {
    show(Kind::Error, message);
}

void MessageBox::showInformation(const QString& message) {
    show(Kind::Information, message);
}

void MessageBox::show(Kind kind, const QString& message) {
    const QString caption = QApplication::applicationName();
    const QString text = message + QLatin1Char('.');
    Answer answer;
    if (takeNextAnswer({kind, caption, text, {}, {}}, answer)) return;
    QMessageBox box(iconOf(kind), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    // File names and the output of other programs are shown as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setFont(windowFont());
    box.setAccessibleName(caption);
    box.exec();
}

MessageBox::Answer MessageBox::askYesNo(const QString& caption, const QString& text,
                                        const QString& yes, const QString& no) {
    Answer answer;
    if (takeNextAnswer({Kind::Question, caption, text, yes, no}, answer)) return answer;
    // Run by exec, the box is application-modal: no other window takes input while it is open.
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setFont(windowFont());
    box.setDefaultButton(QMessageBox::Yes);
    if (!yes.isEmpty()) box.button(QMessageBox::Yes)->setText(yes);
    if (!no.isEmpty()) box.button(QMessageBox::No)->setText(no);
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
    nextAnswers().clear();
}
