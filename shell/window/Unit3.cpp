#include "shell/window/Unit3.h"

#include "platform/system/Words.h"
#include "platform/widgets/BundledPicture.h"
#include "platform/widgets/ClickLabel.h"
#include "platform/widgets/Fonts.h"
#include "platform/widgets/PictureBox.h"
#include "platform/widgets/WindowPlacement.h"

#include <QColor>
#include <QDesktopServices>
#include <QUrl>

namespace {

// The project's address lies under a domain reserved for examples, which nobody can own.
const QString WebAddress = QStringLiteral("https://rsim424.example/");

constexpr BilingualText CreditLine{"Napisał zespół Torvia RSIM-424",
                                   "Written by the Torvia RSIM-424 team"};

template <class Label = QLabel>
Label* makeLabel(QWidget* parent, const QString& text, QRect geometry) {
    auto* label = new Label(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TForm3::TForm3(QWidget* mainWindow) : ToolWindow(mainWindow, 247, 186) {
    fillBackground(this, QColor(192, 220, 192));
    setFont(designedFont(DesignedFace::Arial, 11));

    Image1 = new PictureBox(this);
    Image1->setGeometry(8, 8, 233, 57);
    Image1->setStretch(true);
    Image1->setPicture(bundledPicture(QStringLiteral(":/pictures/about_title.bmp")));

    // The name, version and address read the same in both languages.
    Label1 = makeLabel(this, QStringLiteral("Torvia RSIM- 424 Loader"), {8, 72, 233, 19});
    Label1->setFont(designedFont(DesignedFace::Arial, 16, true));
    Label2 = makeLabel(this, QStringLiteral("v 1.15 beta"), {8, 96, 233, 14});
    Label3 = makeLabel(this, QString(), {8, 120, 233, 14});

    Label4 = makeLabel<ClickLabel>(this, WebAddress, {8, 152, 233, 25});
    QFont link = designedFont(DesignedFace::Arial, 13);
    link.setUnderline(true);
    Label4->setFont(link);
    QPalette red = Label4->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label4->setPalette(red);
    Label4->setCursor(Qt::PointingHandCursor);
    // The address is the window's one stop for the keyboard, and Enter opens it.
    Label4->setFocusPolicy(Qt::StrongFocus);
    connect(Label4, &ClickLabel::clicked, this, &TForm3::Label4Click);

    showTexts(texts(), Language::Polish);
}

std::vector<WindowText> TForm3::texts() {
    return {
        {this, TextRole::Caption, Words::AboutTitle},
        {Image1, TextRole::AccessibleName, {"Obraz tytułowy", "Title picture"}},
        {Label3, TextRole::Caption, CreditLine},
        {Label4,
         TextRole::AccessibleDescription,
         {"Strona internetowa programu", "The launcher's web page"}},
    };
}

QString TForm3::creditLine(Language language) {
    return textIn(CreditLine, language);
}

void TForm3::Label4Click() {
    // What the desktop makes of the address is its own affair; the launcher shows nothing.
    QDesktopServices::openUrl(QUrl(WebAddress));
}

void TForm3::setLanguage(Language language) {
    showTexts(texts(), language);
}
