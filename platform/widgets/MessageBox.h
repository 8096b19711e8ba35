#pragma once

#include <QString>
#include <deque>
#include <vector>

class QWidget;

// Every message box of the launcher goes through here, so that tests can answer a box before it
// would be shown and no test ever blocks on a modal dialog.
class MessageBox {
public:
    enum Answer { Ok = 1, Yes = 6, No = 7 };
    enum class Kind { Error, Information, Question };

    struct Shown {
        Kind kind;
        QString caption;
        QString text;
        QString yes; // a question's button labels; empty for the toolkit's own
        QString no;
    };

    // The application's standard error box: the application's title, an error icon, and the
    // message with a full stop added.
    static void showError(const QString& message);

    // The same box with an information icon, for what the player is to know of a step that
    // succeeded.
    static void showInformation(const QString& message);

    // A Yes/No question with an exclamation icon, owned by the application's active window and
    // blocking every window of the launcher while it is open. Yes is the default button. The
    // buttons carry the labels given, or the toolkit's own when none are.
    static Answer askYesNo(const QString& caption, const QString& text,
                           const QString& yes = QString(), const QString& no = QString());

    // Tests: the next box is not shown but answered at once with this answer.
    static void setNextAnswer(Answer answer);
    // Tests: the boxes answered in advance, in order.
    static const std::vector<Shown>& answered();
    // Tests: forgets the boxes answered and the answers no box has taken, so that an answer one
    // test set and never used does not answer the next test's box.
    static void clearAnswered();

private:
    static void show(Kind kind, const QString& message);
    static bool takeNextAnswer(const Shown& box, Answer& answer);
};
