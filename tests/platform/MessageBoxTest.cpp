#include "platform/widgets/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Answers the question once it is open, through the box itself.
void whenOpen(const std::function<void(QMessageBox&)>& answer) {
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        answer(*box);
    });
}

QStringList buttonTexts(const QMessageBox& box) {
    QStringList texts;
    for (const QAbstractButton* button : box.buttons()) texts << button->text();
    texts.sort();
    return texts;
}

TEST(MessageBox, QuestionShowsItsLabelsBlocksEveryWindowAndTakesYesByDefault) {
    QWidget other;
    other.show();
    whenOpen([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Ostrzeżenie:");
        EXPECT_EQ(box.icon(), QMessageBox::Warning);
        EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(buttonTexts(box), (QStringList{"Nie", "Tak"}));
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(MessageBox::askYesNo("Ostrzeżenie:", "Czy?", "Tak", "Nie"), MessageBox::Yes);

    whenOpen([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_EQ(MessageBox::askYesNo("Warning:", "Start?", "Yes", "No"), MessageBox::No);

    // A test's answer given in advance keeps what the box would have shown.
    MessageBox::setNextAnswer(MessageBox::No);
    EXPECT_EQ(MessageBox::askYesNo("Warning:", "Start?", "Yes", "No"), MessageBox::No);
    ASSERT_EQ(MessageBox::answered().size(), 1u);
    EXPECT_EQ(MessageBox::answered().front().yes, "Yes");
    EXPECT_EQ(MessageBox::answered().front().no, "No");
}

} // namespace
