#include "shell/window/Unit1.h"

#include "catalogue/ReadingLimits.h"
#include "catalogue/SceneryFile.h"
#include "catalogue/pictures/ChosenConsist.h"
#include "catalogue/window/Unit2.h"
#include "packs/window/Unit5.h"
#include "platform/system/InstallPath.h"
#include "platform/system/ProgramPath.h"
#include "platform/system/Words.h"
#include "platform/widgets/BundledPicture.h"
#include "platform/widgets/DesignedControls.h"
#include "platform/widgets/ElidedLabel.h"
#include "platform/widgets/FileListBox.h"
#include "platform/widgets/FocusMark.h"
#include "platform/widgets/Fonts.h"
#include "platform/widgets/ListBox.h"
#include "platform/widgets/MessageBox.h"
#include "platform/widgets/PictureBox.h"
#include "platform/widgets/PlainToolTip.h"
#include "platform/widgets/ProgramEnd.h"
#include "platform/widgets/ScrollBox.h"
#include "platform/widgets/ShownText.h"
#include "platform/widgets/WindowPlacement.h"
#include "settings/SettingsFile.h"
#include "settings/launch/LaunchParameters.h"
#include "settings/launch/WatchedStart.h"
#include "settings/window/Unit4.h"
#include "shell/window/Unit3.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const QColor WindowColour(192, 220, 192);

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

PictureBox* makePicture(QWidget* parent, QRect geometry) {
    auto* picture = new PictureBox(parent);
    picture->setGeometry(geometry);
    return picture;
}

// A flag switches the language; the keyboard reaches it as a button.
PictureBox* makeFlag(QWidget* parent, const QString& picture, const QString& language) {
    PictureBox* flag = makePicture(parent, {424, 504, 40, 24});
    flag->setAutoSize(true);
    flag->setCursor(Qt::PointingHandCursor);
    flag->setFocusPolicy(Qt::TabFocus);
    flag->setPicture(bundledPicture(picture));
    // Round the flag, where its own dark blue cannot hide the focus mark.
    setFocusMarkArea(flag, flag->rect().adjusted(-3, -3, 3, 3));
    // Named in the language it switches to, which reads so in either language.
    flag->setAccessibleName(language);
    return flag;
}

// A secondary window, built in the windows' font. Built after the interface language has
// changed, it shows that language, as it would had it been built at start and switched with the
// others.
template <class Window, class... Arguments>
std::unique_ptr<Window> buildWindow(Language language, Arguments&&... arguments) {
    const WindowFontAsApplicationFont buildingFont;
    auto window = std::make_unique<Window>(std::forward<Arguments>(arguments)...);
    if (language != Language::Polish) window->setLanguage(language);
    return window;
}

} // namespace

// The secondary windows are built when first needed: until then they could only have been
// hidden, and the main window comes up sooner without them. The options window's working copy
// is the settings this window read at start, which nothing changes afterwards.
TForm1::TForm1(const std::string& argv0)
    : Form2([this] { return buildWindow<TForm2>(S.InterfaceLanguage, this); }),
      Form3([this] { return buildWindow<TForm3>(S.InterfaceLanguage, this); }), Form4([this] {
          return buildWindow<TForm4>(S.InterfaceLanguage, this, S.Settings, S.InterfaceLanguage,
                                     S.InstallRoot);
      }) {
    const WindowFontAsApplicationFont buildingFont;
    makeFixedWindow(this, WindowKind::Main, 792, 535,
                    textIn(Words::MainWindowTitle, Language::Polish));
    fillBackground(this, WindowColour);
    setFont(windowFont());
    setAccessibleName(windowTitle());
    buildSceneryGroup();
    buildConsistGroup();
    buildButtonRow();
    showTexts(texts(), Language::Polish);
    Memo1->setPlainText(prompt(Memo1, Language::Polish));
    Memo2->setPlainText(prompt(Memo2, Language::Polish));
    setDesignedTabOrder();
    connectHandlers();
    // A pack dropped anywhere on the window is installed; no control of the window changes.
    setAcceptDrops(true);
    FormCreate(argv0);
    centreOnScreen(this);
}

TForm1::~TForm1() = default;

TForm2& TForm1::timetableWindow() {
    return Form2.get();
}

TForm3& TForm1::aboutWindow() {
    return Form3.get();
}

TForm4& TForm1::optionsWindow() {
    return Form4.get();
}

void TForm1::buildSceneryGroup() {
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(4, 4, 784, 209);

    FileListBox1 = new FileListBox(GroupBox1);
    FileListBox1->setGeometry(16, 24, 201, 169);
    FileListBox1->setMaskExtension(".scn");

    // Titles and file names are shown as written, never as markup. A screen reader reads the
    // title itself as the label's name.
    Label1 = new ElidedLabel(QStringLiteral("Label1"), GroupBox1);
    Label1->setGeometry(232, 24, 297, 25);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(designedFont(DesignedFace::Arial, 19));

    Memo1 = makeMemo(GroupBox1, {232, 56, 297, 137});

    Image1 = makePicture(GroupBox1, {544, 24, 225, 169});
    Image1->setStretch(true);
    Image1->hide();
    Image2 = makePicture(GroupBox1, {544, 24, 225, 169});
    Image2->setStretch(true);
    Image2->setPicture(bundledPicture(QStringLiteral(":/pictures/default_scenery.bmp")));
}

void TForm1::buildConsistGroup() {
    GroupBox2 = new QGroupBox(this);
    GroupBox2->setGeometry(4, 220, 784, 273);

    ListBox2 = new ListBox(GroupBox2);
    ListBox2->setGeometry(16, 24, 377, 121);

    Memo2 = makeMemo(GroupBox2, {408, 24, 361, 121});

    ScrollBox1 = new ScrollBox(GroupBox2);
    ScrollBox1->setGeometry(16, 160, 753, 97);
    Image3 = makePicture(ScrollBox1->content(), {0, 0, 65, 33});
    ScrollBox1->fitContent();
}

void TForm1::buildButtonRow() {
    Button1 = makeButton(this, {4, 504, 177, 25}, false);
    QFont bold = Button1->font();
    bold.setBold(true);
    Button1->setFont(bold);
    Button7 = makeButton(this, {188, 504, 129, 25}, false);
    Button6 = makeButton(this, {324, 504, 75, 25}, false);

    ImageGB = makeFlag(this, QStringLiteral(":/pictures/flag_gb.bmp"), QStringLiteral("English"));
    ImagePL = makeFlag(this, QStringLiteral(":/pictures/flag_pl.bmp"), QStringLiteral("Polski"));
    ImagePL->hide();

    // The help and intro buttons are never enabled.
    Button3 = makeButton(this, {472, 504, 75, 25}, false);
    Button2 = makeButton(this, {552, 504, 75, 25}, true);
    Button4 = makeButton(this, {632, 504, 75, 25}, true);
    Button5 = makeButton(this, {712, 504, 75, 25}, true);
}

// The flag shown follows the quit button: the keyboard had no other way to it.
void TForm1::setDesignedTabOrder() {
    setTabOrder(Memo1, FileListBox1);
    setTabOrder(FileListBox1, ListBox2);
    setTabOrder(ListBox2, Memo2);
    setTabOrder(Memo2, ScrollBox1);
    setTabOrder(ScrollBox1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button4);
    setTabOrder(Button4, Button5);
    setTabOrder(Button5, ImageGB);
    setTabOrder(ImageGB, ImagePL);
    setTabOrder(ImagePL, Button6);
    setTabOrder(Button6, Button7);
    setTabOrder(Button7, Button3);
}

std::vector<WindowText> TForm1::texts() {
    const BilingualText routePicture{"Obraz trasy", "Route picture"};
    return {
        {GroupBox1, TextRole::Caption, {"Trasa:", "Route:"}},
        {GroupBox2, TextRole::Caption, {"Sklady możliwe do prowadzenia:", "Select the train:"}},
        {Button1, TextRole::Caption, {"Uruchom symulator", "Run simulator"}},
        {Button7, TextRole::Caption, {"Zobacz rozkład jazdy", "Show timetable"}},
        {Button6, TextRole::Caption, {"Zobacz intro", "View intro"}},
        {Button3, TextRole::Caption, {"Pomoc", "Help"}},
        {Button2, TextRole::Caption, Words::OptionsTitle},
        {Button4, TextRole::Caption, Words::AboutTitle},
        {Button5, TextRole::Caption, {"Wyjście", "Quit"}},
        {FileListBox1, TextRole::AccessibleName, {"Pliki tras", "Route files"}},
        {Label1, TextRole::AccessibleDescription, {"Nazwa trasy", "Route name"}},
        {Memo1, TextRole::AccessibleName, {"Opis trasy", "Route description"}},
        {Memo1, TextRole::Prompt, {"<- Wybierz Trasę", "<- Choose a route"}},
        {Image1, TextRole::AccessibleName, routePicture},
        {Image2, TextRole::AccessibleName, routePicture},
        {ListBox2, TextRole::AccessibleName, {"Składy", "Trains"}},
        {Memo2, TextRole::AccessibleName, {"Opis składu", "Train description"}},
        {Memo2, TextRole::Prompt, {"<- Wybierz skład", "<- Choose a train"}},
        {ScrollBox1, TextRole::AccessibleName, {"Pojazdy składu", "Vehicles of the train"}},
        {Image3, TextRole::AccessibleName, {"Pojazd", "Vehicle"}},
    };
}

QString TForm1::prompt(const QWidget* memo, Language language) {
    return textIn(textOf(texts(), memo, TextRole::Prompt), language);
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
    S.DescriptionLines = {prompt(Memo1, Language::Polish)};
    showLines(Memo1, S.DescriptionLines);
}

void TForm1::showInstallationChanges() {
    Wczytaj_Dynamic();
    // A pack may have brought the scenery folder itself.
    FileListBox1->applyFilePath(resolveInstallPath(S.InstallRoot, "/scenery"));
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
    S.DetailLines = {prompt(Memo2, S.InterfaceLanguage)};
    showLines(Memo2, S.DetailLines);
    // The vehicle pictures of another scenery are of no more use.
    vehiclePictureCache_.clear();
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
    Label1->setWholeText(QString::fromStdString(displayedSceneryTitle(markers, name)));
    S.SceneryFile = name;
    showLines(Memo1, S.DescriptionLines);
}

void TForm1::ListBox2Click() {
    // A refill of the list empties its choice; that is no choice of a consist.
    const QList<QListWidgetItem*> selected = ListBox2->selectedItems();
    if (selected.isEmpty()) return;
    const int row = ListBox2->row(selected.front());
    if (row < 0 || row >= ConsistTable::ConsistCount) return;

    const ChosenConsist choice =
        chooseConsist(*S.Consists, row, S.InstallRoot, S.InterfaceLanguage, &vehiclePictureCache_);
    const ConsistDetails& details = choice.details;
    S.ChosenVehicle = details.chosenVehicle;
    // A timetable that cannot be read counts as none: the window keeps the one it shows. The
    // button changes its state at most once, so it is repainted at most once.
    if (details.showsTimetable())
        Form2->showTimetable(QString::fromStdString(details.timetableCaption),
                             QString::fromStdString(details.timetable));
    Button7->setEnabled(details.showsTimetable());
    S.DetailLines.clear();
    for (const std::string& line : details.lines) S.DetailLines << QString::fromStdString(line);
    showLines(Memo2, S.DetailLines);
    showVehiclePictures(choice.pictures);
    // What could not be read is told once the whole choice is shown, so that nothing of the
    // previous choice stays behind the message.
    if (!choice.errors.empty()) {
        QStringList errors;
        for (const std::string& error : choice.errors) errors << QString::fromStdString(error);
        MessageBox::showError(errors.join(QLatin1Char('\n')));
    }
}

void TForm1::showVehiclePictures(const std::vector<PlacedPicture>& pictures) {
    // Each slot keeps its picture control from one choice to the next, hidden while no vehicle
    // stands there and then holding no picture, so that memory stays the same however many
    // consists are chosen. Only the slots the new consist leaves empty are hidden: hiding a
    // picture shown again at once would only cost a relayout.
    for (std::size_t i = pictures.size(); i < S.VehiclePictures.size(); ++i) {
        if (PictureBox* picture = S.VehiclePictures[i]) {
            picture->hide();
            picture->setPicture(QImage());
        }
    }
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const PlacedPicture& shown = pictures[i];
        PictureBox*& picture = S.VehiclePictures[i];
        if (picture == nullptr) picture = new PictureBox(ScrollBox1->content());
        picture->setGeometry(shown.place.left, shown.place.top, shown.place.width,
                             shown.place.height);
        picture->setPicture(shown.image);
        picture->setAccessibleName(QString::fromStdString(shown.name));
        picture->setToolTip(plainToolTip(QString::fromStdString(shown.toolTip)));
        picture->show();
    }
    S.ThumbnailCount = static_cast<int>(pictures.size());
    ScrollBox1->fitContent();
    ScrollBox1->ensureVisible(0, 0);
}

void TForm1::Button1Click() {
    S.LaunchParameters = launchParameters(S.SceneryFile, S.ChosenVehicle);
    S.LaunchAnswer = 0;
    // Only the exact word asks: a vehicle called "GhostView" is a vehicle.
    if (S.ChosenVehicle == GhostviewVehicle) {
        const GhostviewQuestion question = ghostviewQuestion(S.InterfaceLanguage);
        S.LaunchAnswer = MessageBox::askYesNo(utf8(question.caption), utf8(question.text),
                                              utf8(question.yes), utf8(question.no));
        if (S.LaunchAnswer != MessageBox::Yes) return;
    }
    // The simulator is handed its working folder, so the scenery list need not move there, and a
    // start that fails leaves the player's choice as it was.
    if (warmUp_) warmUp_->leaveToStart();
    start_ = std::make_unique<WatchedStart>(
        simulatorCommand(S.InstallRoot, S.SceneryFile, S.ChosenVehicle));
    startBegun_ = false;
    followStart(beginStart());
}

// A locale that wine's warm-up is building is waited for, rather than built a second time.
WatchedStart::State TForm1::beginStart() {
    if (warmUp_ && warmUp_->buildingLocale()) return WatchedStart::State::Watching;
    startBegun_ = true;
    return start_->begin();
}

// Wine may take a while, and fail only after a while, so the windows step aside while a start is
// watched, and come back with the choice as it was if it fails. What cannot work is said at
// once, with the windows and the choice as they are.
void TForm1::followStart(WatchedStart::State state) {
    switch (state) {
    case WatchedStart::State::Watching:
        hiddenWhileStarting_.hide();
        QTimer::singleShot(WatchedStart::LookEveryMs, this,
                           [this] { followStart(startBegun_ ? start_->poll() : beginStart()); });
        return;
    case WatchedStart::State::Failed:
        hiddenWhileStarting_.showAgain();
        MessageBox::showError(QString::fromStdString(start_->failureMessage(S.InterfaceLanguage)));
        break;
    case WatchedStart::State::Started:
        afterStart();
        break;
    }
    start_.reset();
}

void TForm1::afterStart() {
    // An options window never built was never ticked.
    if (!Form4.built() || !Form4->staysOpenAfterStart()) {
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
    showTexts(texts(), language);
    // A window not built yet takes the language when it is built.
    if (Form2.built()) Form2->setLanguage(language);
    if (Form3.built()) Form3->setLanguage(language);
    if (Form4.built()) Form4->setLanguage(language);
    // Before any scenery was read the boxes hold only their prompts; afterwards they keep what
    // they show until it is next rebuilt.
    if (!Button1->isEnabled()) {
        S.DescriptionLines = {prompt(Memo1, language)};
        showLines(Memo1, S.DescriptionLines);
        S.DetailLines = {prompt(Memo2, language)};
        showLines(Memo2, S.DetailLines);
    }
    // The other flag takes the place and, from the keyboard, the focus: Space switches back.
    PictureBox* shown = language == Language::Polish ? ImageGB : ImagePL;
    PictureBox* hidden = language == Language::Polish ? ImagePL : ImageGB;
    shown->show();
    if (hidden->hasFocus()) shown->setFocus(Qt::TabFocusReason);
    hidden->hide();
}

void TForm1::Button2Click() {
    Form4->showForEditing();
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

void TForm1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Wine is made ready once the window's first frame is on the screen, so that the frame
    // shares the processors with none of it.
    if (warmUpBegun_) return;
    warmUpBegun_ = true;
    QTimer::singleShot(0, this, &TForm1::beginWineWarmUp);
}

void TForm1::beginWineWarmUp() {
    // A start pressed already does without.
    if (start_) return;
    warmUp_ = std::make_unique<WineWarmUp>(wineWarmUpPlan(S.InstallRoot));
    followWineWarmUp(warmUp_->begin());
}

void TForm1::followWineWarmUp(WineWarmUp::State state) {
    if (state != WineWarmUp::State::Working) return;
    QTimer::singleShot(WineWarmUp::LookEveryMs, this,
                       [this] { followWineWarmUp(warmUp_->poll()); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, also while other windows are open.
    event->accept();
    endProgram(0);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedPack(event->mimeData()).empty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const std::string archive = droppedPack(event->mimeData());
    if (archive.empty()) return;
    event->acceptProposedAction();
    emit packDropped(archive);
}
