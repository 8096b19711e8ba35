#include "platform/widgets/ClickLabel.h"
#include "platform/widgets/PictureBox.h"
#include "shell/window/Unit3.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QLabel>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Takes the place of the desktop's web browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(AboutWindow, OnlyTheAddressOpensAndTheWindowStaysOpen) {
    UrlRecorder browser;
    TForm3 form(nullptr);
    form.show();
    const QList<QWidget*> elsewhere{form.Image1, form.Label1, form.Label2, form.Label3};
    for (QWidget* control : elsewhere) QTest::mouseClick(control, Qt::LeftButton);
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(3, 180));
    EXPECT_TRUE(browser.opened.isEmpty());

    QTest::mouseClick(form.Label4, Qt::LeftButton);
    EXPECT_EQ(browser.opened, QList<QUrl>{QUrl("https://rsim424.example/")});
    EXPECT_TRUE(form.isVisible());
    QTest::keyClick(form.Label4, Qt::Key_Space);
    EXPECT_EQ(browser.opened.size(), 1) << "Space opens no link";
    QTest::keyClick(form.Label4, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(browser.opened.size(), 2) << "Enter opens it";
}

TEST(AboutWindow, StandsAsDesignedWithNoTextClipped) {
    TForm3 form(nullptr);
    EXPECT_EQ(form.size(), QSize(247, 186));
    EXPECT_EQ(form.windowTitle(), "O programie");
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(192, 220, 192));
    EXPECT_EQ(form.Image1->geometry(), QRect(8, 8, 233, 57));
    EXPECT_TRUE(form.Image1->stretch());
    EXPECT_EQ(form.Image1->picture().size(), QSize(335, 80));

    struct Designed {
        QLabel* label;
        QRect geometry;
        QString text;
        int pixelSize;
    };
    const std::vector<Designed> labels{
        {form.Label1, {8, 72, 233, 19}, "Torvia RSIM- 424 Loader", 16},
        {form.Label2, {8, 96, 233, 14}, "v 1.15 beta", 11},
        {form.Label3, {8, 120, 233, 14}, TForm3::creditLine(Language::Polish), 11},
        {form.Label4, {8, 152, 233, 25}, "https://rsim424.example/", 13},
    };
    for (const Designed& d : labels) {
        EXPECT_EQ(d.label->geometry(), d.geometry) << d.text.toStdString();
        EXPECT_EQ(d.label->text(), d.text);
        EXPECT_EQ(d.label->font().pixelSize(), d.pixelSize) << d.text.toStdString();
        EXPECT_EQ(d.label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    }
    EXPECT_TRUE(form.Label1->font().bold());
    EXPECT_TRUE(form.Label4->font().underline());
    EXPECT_EQ(form.Label4->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(form.Label4->cursor().shape(), Qt::PointingHandCursor);

    // Both credit lines fit, as the language switch puts either in place.
    EXPECT_NE(TForm3::creditLine(Language::Polish), TForm3::creditLine(Language::English));
    for (const QString& credit :
         {TForm3::creditLine(Language::Polish), TForm3::creditLine(Language::English)}) {
        form.Label3->setText(credit);
        for (const Designed& d : labels) {
            const QFontMetrics metrics = d.label->fontMetrics();
            EXPECT_LE(metrics.horizontalAdvance(d.label->text()), d.label->width())
                << d.label->text().toStdString();
            EXPECT_LE(metrics.height(), d.label->height()) << d.label->text().toStdString();
        }
    }
    for (QWidget* control : form.findChildren<QWidget*>())
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
            << control->metaObject()->className();
}

} // namespace

#include "AboutWindowTest.moc"
