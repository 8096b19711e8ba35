#include "shell/Unit1.h"

#include "catalogue/ConsistDetails.h"
#include "catalogue/ReadingLimits.h"
#include "catalogue/SceneryFile.h"
#include "catalogue/Unit2.h"
#include "platform/FileListBox.h"
#include "platform/Fonts.h"
#include "platform/InstallPath.h"
#include "platform/ListBox.h"
#include "platform/MessageBox.h"
#include "platform/PictureBox.h"
#include "platform/PictureRow.h"
#include "platform/PlainToolTip.h"
#include "platform/ProgramEnd.h"
#include "platform/ProgramPath.h"
#include "platform/ProgramStart.h"
#include "platform/ScrollBox.h"
#include "platform/ShownText.h"
#include "platform/WatchedStart.h"
#include "platform/WindowPlacement.h"
#include "settings/SettingsFile.h"
#include "settings/SimulatorLaunch.h"
#include "settings/Unit4.h"
#include "shell/Captions.h"
#include "shell/Unit3.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QColor WindowColour(192, 220, 192);

// The prompts of the two text boxes while nothing is chosen, by interface language.
QString routePrompt(Language language) {
    return language == Language::Polish ? QStringLiteral("<- Wybierz Trasę")
                                        : QStringLiteral("<- Choose a route");
}
QString trainPrompt(Language language) {
    return language == Language::Polish ? QStringLiteral("<- Wybierz skład")
                                        : QStringLiteral("<- Choose a train");
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* makeButton(QWidget* parent, const QString& caption, QRect geometry, bool enabled) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    button->setEnabled(enabled);
    return button;
}

QPlainTextEdit* makeMemo(QWidget* parent, QRect geometry, const QString& accessibleName) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setGeometry(geometry);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setAccessibleName(accessibleName);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, Qt::white);
    memo->setPalette(palette);
    return memo;
}

PictureBox* makePicture(QWidget* parent, QRect geometry, const QString& accessibleName) {
    auto* picture = new PictureBox(parent);
    picture->setGeometry(geometry);
    picture->setAccessibleName(accessibleName);
    return picture;
}

} // namespace

TForm1::TForm1(const std::string& argv0) {
    makeFixedWindow(this, WindowKind::Main, 792, 535, QStringLiteral("Torvia RSIM-424"));
    fillBackground(this, WindowColour);
    setFont(designedFont(DesignedFace::MsSansSerif, 11));
    setAccessibleName(windowTitle());
    buildSceneryGroup();
    buildConsistGroup();
    buildButtonRow();
    setDesignedTabOrder();
    connectHandlers();
    FormCreate(argv0);
    centreOnScreen(this);
}

TForm1::~TForm1() = default;

void TForm1::setSecondaryWindows(TForm2* timetable, TForm3* about, TForm4* options) {
    Form2 = timetable;
    Form3 = about;
    Form4 = options;
}

void TForm1::buildSceneryGroup() {
    GroupBox1 = new QGroupBox(QStringLiteral("Trasa:"), this);
    GroupBox1->setGeometry(4, 4, 784, 209);

    FileListBox1 = new FileListBox(GroupBox1);
    FileListBox1->setGeometry(16, 24, 201, 169);
    FileListBox1->setMaskExtension(".scn");
    FileListBox1->setAccessibleName(QStringLiteral("Pliki tras"));

    Label1 = new QLabel(QStringLiteral("Label1"), GroupBox1);
    Label1->setGeometry(232, 24, 297, 25);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(designedFont(DesignedFace::Arial, 19));
    // Titles and file names are shown as written, never as markup.
    Label1->setTextFormat(Qt::PlainText);
    // A screen reader reads the title itself as the label's name.
    Label1->setAccessibleDescription(QStringLiteral("Nazwa trasy"));

    Memo1 = makeMemo(GroupBox1, {232, 56, 297, 137}, QStringLiteral("Opis trasy"));
    Memo1->setPlainText(routePrompt(Language::Polish));

    Image1 = makePicture(GroupBox1, {544, 24, 225, 169}, QStringLiteral("Obraz trasy"));
    Image1->setStretch(true);
    Image1->hide();
    Image2 = makePicture(GroupBox1, {544, 24, 225, 169}, QStringLiteral("Obraz trasy"));
    Image2->setStretch(true);
    Image2->setPicture(QImage(QStringLiteral(":/pictures/default_scenery.bmp")));
}

void TForm1::buildConsistGroup() {
    GroupBox2 = new QGroupBox(QStringLiteral("Sklady możliwe do prowadzenia:"), this);
    GroupBox2->setGeometry(4, 220, 784, 273);

    ListBox2 = new ListBox(GroupBox2);
    ListBox2->setGeometry(16, 24, 377, 121);
    ListBox2->setAccessibleName(QStringLiteral("Składy"));

    Memo2 = makeMemo(GroupBox2, {408, 24, 361, 121}, QStringLiteral("Opis składu"));
    Memo2->setPlainText(trainPrompt(Language::Polish));

    ScrollBox1 = new ScrollBox(GroupBox2);
    ScrollBox1->setGeometry(16, 160, 753, 97);
    ScrollBox1->setAccessibleName(QStringLiteral("Pojazdy składu"));
    Image3 = makePicture(ScrollBox1->content(), {0, 0, 65, 33}, QStringLiteral("Pojazd"));
    ScrollBox1->fitContent();
}

void TForm1::buildButtonRow() {
    Button1 = makeButton(this, QStringLiteral("Uruchom symulator"), {4, 504, 177, 25}, false);
    QFont bold = Button1->font();
    bold.setBold(true);
    Button1->setFont(bold);
    Button7 = makeButton(this, QStringLiteral("Zobacz rozkład jazdy"), {188, 504, 129, 25}, false);
    Button6 = makeButton(this, QStringLiteral("Zobacz intro"), {324, 504, 75, 25}, false);

    ImageGB = makePicture(this, {424, 504, 40, 24}, QStringLiteral("English"));
    ImageGB->setAutoSize(true);
    ImageGB->setCursor(Qt::PointingHandCursor);
    ImageGB->setPicture(QImage(QStringLiteral(":/pictures/flag_gb.bmp")));
    ImagePL = makePicture(this, {424, 504, 40, 24}, QStringLiteral("Polski"));
    ImagePL->setAutoSize(true);
    ImagePL->setCursor(Qt::PointingHandCursor);
    ImagePL->setPicture(QImage(QStringLiteral(":/pictures/flag_pl.bmp")));
    ImagePL->hide();

    // The help and intro buttons are never enabled.
    Button3 = makeButton(this, QStringLiteral("Pomoc"), {472, 504, 75, 25}, false);
    Button2 = makeButton(this, QStringLiteral("Opcje"), {552, 504, 75, 25}, true);
    Button4 = makeButton(this, QStringLiteral("O programie"), {632, 504, 75, 25}, true);
    Button5 = makeButton(this, QStringLiteral("Wyjście"), {712, 504, 75, 25}, true);
}

void TForm1::setDesignedTabOrder() {
    setTabOrder(Memo1, FileListBox1);
    setTabOrder(FileListBox1, ListBox2);
    setTabOrder(ListBox2, Memo2);
    setTabOrder(Memo2, ScrollBox1);
    setTabOrder(ScrollBox1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button4);
    setTabOrder(Button4, Button5);
    setTabOrder(Button5, Button6);
    setTabOrder(Button6, Button7);
    setTabOrder(Button7, Button3);
}

void TForm1::connectHandlers() {
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(ImageGB, &PictureBox::clicked, this, &TForm1::ImageGBClick);
    connect(ImagePL, &PictureBox::clicked, this, &TForm1::ImagePLClick);
    connect(FileListBox1, &FileListBox::changed, this, &TForm1::FileListBox1Change);
    connect(ListBox2, &ListBox::itemSelectionChanged, this, &TForm1::ListBox2Click);
}

void TForm1::FormCreate(const std::string& argv0) {
    S.ChosenVehicle = GhostviewVehicle;
    S.InstallRoot = installFolderOfThisProgram(argv0);
    // The scenery folder of a Windows-made installation may be called "Scenery".
    FileListBox1->applyFilePath(resolveInstallPath(S.InstallRoot, "/scenery"));
    Wczytaj_Dynamic();
    wczytaj_opcje();
    S.DescriptionLines = {routePrompt(Language::Polish)};
    showLines(Memo1, S.DescriptionLines);
}

void TForm1::Wczytaj_Dynamic() {
    *S.Catalogue = loadVehicleCatalogue(S.InstallRoot);
}

void TForm1::wczytaj_opcje() {
    S.Settings = loadSimulatorSettings(S.InstallRoot);
}

void TForm1::showLines(QPlainTextEdit* memo, const QStringList& lines) {
    memo->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm1::FileListBox1Change() {
    S.ChosenVehicle = GhostviewVehicle;
    czysc_dopr();
    Button7->setEnabled(false);
    S.DetailLines = {trainPrompt(S.InterfaceLanguage)};
    showLines(Memo2, S.DetailLines);
    chosenScenery_ = readScenery(FileListBox1->fileName(), *S.Catalogue, *S.Consists);
    Wczytaj_Sklady();
    Odczyt_Scenerii();
    chosenScenery_ = SceneryReading();
    czysc_dcc();
}

void TForm1::czysc_dopr() {
    S.Consists->clearRolesAndNotes();
}

void TForm1::czysc_dcc() {
    const int count = S.ThumbnailCount & 0xFF;
    for (int i = 1; i <= count && i <= ConsistRecord::SlotCount; ++i)
        if (PictureBox* picture = S.VehiclePictures[static_cast<std::size_t>(i - 1)])
            picture->hide();
}

void TForm1::Wczytaj_Sklady() {
    ListBox2->clear();
    for (const std::string& row : chosenScenery_.rows) ListBox2->addItem(shownText(row));
}

void TForm1::Odczyt_Scenerii() {
    S.DescriptionLines.clear();
    const SceneryMarkers& markers = chosenScenery_.markers;
    if (markers.enablesStart) Button1->setEnabled(true);
    for (const std::string& line : markers.descriptionLines) S.DescriptionLines << shownText(line);
    if (markers.cut)
        S.DescriptionLines << utf8(cutNotice(CutText::SceneryDescription, S.InterfaceLanguage));

    if (markers.picture.empty()) {
        Image2->show();
        Image1->hide();
    } else {
        const std::string picture =
            resolveInstallPath(S.InstallRoot, "\\scenery\\images\\" + markers.picture);
        std::string error;
        const PictureLoad::Outcome outcome = Image1->load(picture, &error);
        // A picture named but missing leaves the previous one on screen. One that cannot be
        // loaded is reported, and the default one takes its place, so that the title and
        // description still describe this scenery.
        if (outcome == PictureLoad::Outcome::Failed)
            MessageBox::showError(QString::fromStdString(error));
        if (outcome != PictureLoad::Outcome::Missing) {
            Image1->setVisible(outcome == PictureLoad::Outcome::Loaded);
            Image2->setVisible(outcome != PictureLoad::Outcome::Loaded);
        }
    }

    const std::string name = FileListBox1->selectedName();
    Label1->setText(QString::fromStdString(displayedSceneryTitle(markers, name)));
    S.SceneryFile = name;
    showLines(Memo1, S.DescriptionLines);
}

void TForm1::ListBox2Click() {
    // A refill of the list empties its choice; that is no choice of a consist.
    const QList<QListWidgetItem*> selected = ListBox2->selectedItems();
    if (selected.isEmpty()) return;
    const int row = ListBox2->row(selected.front());
    if (row < 0 || row >= ConsistTable::ConsistCount) return;
    const ConsistRecord& consist = S.Consists->consist(row + 1);

    Button7->setEnabled(false);
    const ConsistDetails details = describeConsist(consist, S.InstallRoot, S.InterfaceLanguage);
    S.ChosenVehicle = details.chosenVehicle;
    // A file that cannot be read is reported once the whole choice is shown, so that nothing
    // of the previous choice stays behind it.
    QStringList errors;
    if (!details.timetableError.empty()) errors << QString::fromStdString(details.timetableError);
    // A timetable that cannot be read counts as none: the window keeps the one it shows.
    if (details.showsTimetable()) {
        Form2->showTimetable(QString::fromStdString(details.timetableCaption),
                             QString::fromStdString(details.timetable));
        Button7->setEnabled(true);
    }
    S.DetailLines.clear();
    for (const std::string& line : details.lines) S.DetailLines << QString::fromStdString(line);
    showLines(Memo2, S.DetailLines);
    czysc_dcc();
    showVehiclePictures(consist, details, errors);
    if (!errors.isEmpty()) MessageBox::showError(errors.join(QLatin1Char('\n')));
}

void TForm1::showVehiclePictures(const ConsistRecord& consist, const ConsistDetails& details,
                                 QStringList& errors) {
    // The pictures of the previous choice are hidden and never shown again: they are released
    // so that memory does not grow with every choice.
    for (PictureBox*& picture : S.VehiclePictures) {
        delete picture;
        picture = nullptr;
    }
    const PictureRow row = loadPictureRow(details.pictureFiles, details.standInPicture);
    for (std::size_t i = 0; i < row.places.size(); ++i) {
        const PicturePlace& place = row.places[i];
        auto* picture = new PictureBox(ScrollBox1->content());
        picture->setGeometry(place.left, place.top, place.width, place.height);
        picture->setPicture(row.pictures[i]);
        const QString type = shownText(consist.vehicleSlots[i].VehicleType);
        picture->setAccessibleName(type.isEmpty() ? QStringLiteral("other") : type);
        picture->setToolTip(plainToolTip(type));
        picture->show();
        S.VehiclePictures[i] = picture;
    }
    S.ThumbnailCount = static_cast<int>(row.places.size());
    ScrollBox1->fitContent();
    ScrollBox1->ensureVisible(0, 0);
    for (const std::string& error : row.errors) errors << QString::fromStdString(error);
}

void TForm1::Button1Click() {
    S.LaunchParameters = launchParameters(S.SceneryFile, S.ChosenVehicle);
    S.LaunchAnswer = 0;
    // Only the exact word asks: a vehicle called "GhostView" is a vehicle.
    if (S.ChosenVehicle == GhostviewVehicle) {
        const GhostviewQuestion& question = ghostviewQuestion(S.InterfaceLanguage);
        S.LaunchAnswer = MessageBox::askYesNo(utf8(question.caption), utf8(question.text),
                                              utf8(question.yes), utf8(question.no));
        if (S.LaunchAnswer != MessageBox::Yes) return;
    }
    // The simulator is handed its working folder, so the scenery list need not move there, and a
    // start that fails leaves the player's choice as it was.
    SimulatorCommand command = simulatorCommand(S.InstallRoot, S.SceneryFile, S.ChosenVehicle);
    if (command.throughWine()) {
        startThroughWine(std::move(command));
        return;
    }
    const RunResult started = run(command.program, command.arguments, command.workingFolder);
    if (!started) {
        MessageBox::showError(QString::fromStdString(
            startFailureMessage(S.InterfaceLanguage, command, started.error)));
        return;
    }
    ChildProcess::reapWhenEnded(started.pid);
    afterStart();
}

// Wine may take a while, and fail only after a while, so the windows step aside while it is
// watched, and come back with the choice as it was if it fails.
void TForm1::startThroughWine(SimulatorCommand command) {
    hiddenWhileStarting_.hide();
    auto* start = new WatchedStart(std::move(command), this);
    connect(start, &WatchedStart::started, this, &TForm1::afterStart);
    connect(start, &WatchedStart::failed, this, [this, start](const StartFailure& failure) {
        hiddenWhileStarting_.showAgain();
        MessageBox::showError(QString::fromStdString(
            startFailureMessage(S.InterfaceLanguage, start->command(), failure)));
    });
    start->begin();
}

void TForm1::afterStart() {
    if (!Form4->CheckBox11->isChecked()) {
        endProgram(0);
        return;
    }
    // Staying open, the window is as after a scenery change with nothing chosen.
    FileListBox1->applyFilePath(FileListBox1->directory());
    hiddenWhileStarting_.showAgain();
}

void TForm1::ImageGBClick() {
    switchLanguage(Language::English);
}

void TForm1::ImagePLClick() {
    switchLanguage(Language::Polish);
}

void TForm1::switchLanguage(Language language) {
    // The hidden flag cannot be clicked; a request for the language shown changes nothing.
    if (S.InterfaceLanguage == language) return;
    // Set before any text, since the texts set from here on read it.
    S.InterfaceLanguage = language;
    setCaptions(captionTable(*this, *Form2, *Form3, *Form4), language);
    Form4->Label8->move(language == Language::English ? 218 : 240, Form4->Label8->y());
    // Before any scenery was read the boxes hold only their prompts; afterwards they keep what
    // they show until it is next rebuilt.
    if (!Button1->isEnabled()) {
        S.DescriptionLines = {routePrompt(language)};
        showLines(Memo1, S.DescriptionLines);
        S.DetailLines = {trainPrompt(language)};
        showLines(Memo2, S.DetailLines);
    }
    ImageGB->setVisible(language == Language::Polish);
    ImagePL->setVisible(language == Language::English);
    Form4->showLanguageTexts();
}

void TForm1::Button2Click() {
    Form4->Memo1.clear();
    Form4->show();
}

void TForm1::Button4Click() {
    Form3->show();
}

void TForm1::Button5Click() {
    endProgram(0);
}

void TForm1::Button7Click() {
    Form2->show();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, also while other windows are open.
    event->accept();
    endProgram(0);
}
