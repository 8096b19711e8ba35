#include "packs/window/Unit5.h"

#include "catalogue/pictures/PictureCheck.h"
#include "packs/PackFormats.h"
#include "packs/window/PackTexts.h"
#include "platform/system/Words.h"
#include "platform/widgets/CheckBox.h"
#include "platform/widgets/DesignedControls.h"
#include "platform/widgets/Fonts.h"
#include "platform/widgets/ListBox.h"
#include "platform/widgets/MessageBox.h"
#include "platform/widgets/ShownText.h"
#include "platform/widgets/WindowPlacement.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace {

const QColor WindowColour(192, 220, 192);
constexpr int ClientWidth = 473;
// Where the status, the progress bar and the buttons begin: below the plan's four groups, or,
// offering an undo, right below the first line.
constexpr int PlanBottom = 400;
constexpr int UndoBottom = 32;
constexpr int BottomHeight = 108;
constexpr int FileListHeight = 168;

// The texts the window puts together at run time; "%1" and "%2" stand for what it fills in.
namespace Message {
constexpr BilingualText pack{"Paczka: %1", "Pack: %1"};
constexpr BilingualText lastInstall{"Ostatnio zainstalowana paczka: %1, %2",
                                    "Last installed pack: %1, %2"};
constexpr BilingualText replacesScenery{"%1 (zastępuje obecną)", "%1 (replaces the present one)"};
constexpr BilingualText counts{"Nowe: %1    Zastępowane: %2    Odrzucone: %3",
                               "New: %1    Replaced: %2    Refused: %3"};
constexpr BilingualText addRecords{"Dopisz do katalogu pojazdy, których w nim brakuje (%1):",
                                   "Add the vehicles the catalogue lacks (%1):"};
constexpr BilingualText noRecords{"Paczka nie dodaje pojazdów do katalogu",
                                  "The pack adds no vehicles to the catalogue"};
constexpr BilingualText lacksNothing{"Nowym trasom niczego nie brakuje.",
                                     "The new routes lack nothing."};
constexpr BilingualText noSceneries{"Paczka nie dodaje tras.", "The pack adds no routes."};
constexpr BilingualText checking{"Sprawdzanie paczki…", "Looking at the pack…"};
constexpr BilingualText sizes{"Do zapisania: %1. Wolne miejsce na dysku: %2.",
                              "To be written: %1. Free space on the disk: %2."};
constexpr BilingualText noSpace{
    "Za mało wolnego miejsca na dysku: paczka potrzebuje %1, a wolne jest %2.",
    "Not enough free space on the disk: the pack needs %1, and %2 is free."};
constexpr BilingualText nothingToInstall{"W paczce nie ma nic, co można zainstalować.",
                                         "The pack holds nothing that can be installed."};
constexpr BilingualText writing{"Zapisano %1 z %2.", "Written: %1 of %2."};
constexpr BilingualText placing{"Umieszczanie plików: %1 z %2.", "Placing the files: %1 of %2."};
constexpr BilingualText cancelling{"Przerywanie instalacji i usuwanie tego, co zapisała…",
                                   "Cancelling the install and removing what it wrote…"};
constexpr BilingualText installed{
    "Zainstalowano paczkę: nowe pliki: %1, zastąpione: %2. Zastąpione pliki i zapis "
    "instalacji, dzięki któremu można ją cofnąć, są w folderze:",
    "The pack is installed: new files: %1, replaced: %2. The replaced files, and the record "
    "that lets the install be undone, are in the folder:"};
constexpr BilingualText undoOffer{
    "Cofnięcie instalacji usunie pliki, które dodała (%1), i przywróci te, które zastąpiła "
    "(%2), z folderu:",
    "Undoing the install removes the files it added (%1) and puts back those it replaced "
    "(%2) from the folder:"};
constexpr BilingualText undoing{"Cofanie instalacji…", "Undoing the install…"};
constexpr BilingualText undone{
    "Instalację paczki cofnięto: usunięto dodane pliki (%1) i przywrócono zastąpione (%2).",
    "The install is undone: the files it added (%1) are removed, and those it replaced (%2) "
    "are back."};
constexpr BilingualText nothingToUndo{"Nie ma instalacji paczki, którą można cofnąć",
                                      "There is no install of a pack to undo"};
constexpr BilingualText rolledBack{
    "Instalacja paczki %1 została przerwana. To, co zdążyła zapisać, usunięto: instalacja "
    "symulatora jest taka, jak przed nią",
    "The install of the pack %1 was cut short. What it had written is removed: the "
    "installation is as it was before it"};
constexpr BilingualText undoFinished{"Cofanie instalacji paczki %1 zostało przerwane; "
                                     "dokończono je",
                                     "The undo of the install of the pack %1 was cut short; "
                                     "it is finished now"};
constexpr BilingualText notRecovered{
    "Nie udało się cofnąć przerwanej instalacji paczki: %1. Program spróbuje ponownie przy "
    "następnym uruchomieniu",
    "An install of a pack that was cut short could not be taken back: %1. The launcher tries "
    "again at its next start"};
constexpr BilingualText newFiles{"Nowe pliki (%1):", "New files (%1):"};
constexpr BilingualText replacedFiles{"Zastępowane pliki (%1):", "Replaced files (%1):"};
constexpr BilingualText refusedFiles{"Odrzucone (%1):", "Refused (%1):"};
constexpr BilingualText showFiles{"Pokaż pliki >>", "Show files >>"};
constexpr BilingualText hideFiles{"Ukryj pliki <<", "Hide files <<"};
} // namespace Message

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* makeLabel(QWidget* parent, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // File and scenery names are shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

std::size_t countOf(const PackPlan& plan, EntryAction action) {
    std::size_t n = 0;
    for (const PlannedFile& file : plan.files) n += file.action == action;
    return n;
}

bool installsSomething(const PackPlan& plan) {
    return countOf(plan, EntryAction::Add) + countOf(plan, EntryAction::Replace) > 0 ||
           !plan.offeredRecords.empty();
}

} // namespace

TForm5::TForm5(QWidget* mainWindow, const Language& interfaceLanguage, std::string installRoot)
    : ToolWindow(mainWindow, ClientWidth, PlanBottom + BottomHeight),
      InterfaceLanguage(interfaceLanguage), InstallRoot(std::move(installRoot)),
      mainWindow_(mainWindow) {
    fillBackground(this, WindowColour);
    setFont(windowFont());
    // The installation changes under the other windows while this one works.
    setWindowModality(Qt::ApplicationModal);
    buildControls();
}

// The work under way ends before the window goes: an install that is stopped takes back what
// it wrote.
TForm5::~TForm5() = default;

void TForm5::buildControls() {
    Label1 = makeLabel(this, {8, 8, 457, 16});

    GroupBox1 = makeGroupBox(this, {8, 28, 457, 89});
    ListBox1 = new ListBox(GroupBox1);
    ListBox1->setGeometry(12, 20, 433, 57);

    GroupBox2 = makeGroupBox(this, {8, 124, 457, 53});
    Label2 = makeLabel(GroupBox2, {12, 26, 320, 16});
    Button3 = makeButton(GroupBox2, {340, 20, 105, 25});

    GroupBox3 = makeGroupBox(this, {8, 184, 457, 97});
    CheckBox1 = new CheckBox(GroupBox3);
    CheckBox1->setGeometry(12, 20, 433, 17);
    ListBox2 = new ListBox(GroupBox3);
    ListBox2->setGeometry(12, 40, 433, 45);

    GroupBox4 = makeGroupBox(this, {8, 288, 457, 105});
    Memo1 = makeMemo(GroupBox4, {12, 20, 433, 73});

    Label3 = makeLabel(this, {});
    Label3->setWordWrap(true);
    ProgressBar1 = new QProgressBar(this);
    Edit1 = new QLineEdit(this);
    Edit1->setReadOnly(true);
    Button4 = makeButton(this, {});
    Button1 = makeButton(this, {});
    QFont bold = Button1->font();
    bold.setBold(true);
    Button1->setFont(bold);
    Button2 = makeButton(this, {});
    Button5 = makeButton(this, {});
    Memo2 = makeMemo(this, {8, PlanBottom + BottomHeight, 457, FileListHeight - 8});
    Memo2->hide();
    placeBottom(PlanBottom);

    setTabOrder(ListBox1, Button3);
    setTabOrder(Button3, CheckBox1);
    setTabOrder(CheckBox1, ListBox2);
    setTabOrder(ListBox2, Memo1);
    setTabOrder(Memo1, Edit1);
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button4);
    setTabOrder(Button4, Button2);
    setTabOrder(Button2, Button5);
    setTabOrder(Button5, Memo2);

    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm5::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm5::Button5Click);
}

// The status, the progress bar or backup folder in its place, and the buttons, from top down.
void TForm5::placeBottom(int top) {
    Label3->setGeometry(8, top, 457, 44);
    ProgressBar1->setGeometry(8, top + 48, 457, 19);
    Edit1->setGeometry(8, top + 48, 457, 19);
    const int buttons = top + 75;
    Button4->setGeometry(8, buttons, 137, 25);
    Button1->setGeometry(280, buttons, 89, 25);
    Button2->setGeometry(376, buttons, 89, 25);
    Button5->setGeometry(376, buttons, 89, 25);
}

std::vector<WindowText> TForm5::texts() {
    return {
        {this, TextRole::Caption, {"Instalacja paczki", "Install a pack"}},
        {GroupBox1, TextRole::Caption, {"Nowe trasy:", "New routes:"}},
        {ListBox1, TextRole::AccessibleName, {"Nowe trasy", "New routes"}},
        {GroupBox2, TextRole::Caption, {"Pliki:", "Files:"}},
        {GroupBox3, TextRole::Caption, {"Katalog pojazdów:", "Vehicle catalogue:"}},
        {ListBox2,
         TextRole::AccessibleName,
         {"Pojazdy dopisywane do katalogu", "Vehicles added to the catalogue"}},
        {GroupBox4,
         TextRole::Caption,
         {"Czego nowym trasom będzie brakować:", "What the new routes will still lack:"}},
        {Memo1, TextRole::AccessibleName, {"Braki nowych tras", "What the new routes lack"}},
        {Label3, TextRole::AccessibleDescription, {"Stan instalacji", "State of the install"}},
        {ProgressBar1, TextRole::AccessibleName, {"Zapisane dane", "Data written"}},
        {Edit1, TextRole::AccessibleName, {"Folder kopii zapasowej", "Backup folder"}},
        {Button1, TextRole::Caption, {"Zainstaluj", "Install"}},
        {Button2, TextRole::Caption, Words::Cancel},
        {Button4, TextRole::Caption, {"Cofnij instalację", "Undo the install"}},
        {Button5, TextRole::Caption, {"Zamknij", "Close"}},
        {Memo2, TextRole::AccessibleName, {"Pliki paczki", "The pack's files"}},
    };
}

QString TForm5::message(const BilingualText& text) const {
    return QString::fromUtf8(text.in(language_));
}

bool TForm5::busy() const {
    return stage_ == Stage::Installing || stage_ == Stage::Cancelling || stage_ == Stage::Undoing;
}

// Sets the window up afresh, in the interface language of the moment, for a pack or for an undo.
void TForm5::openAs(Stage stage) {
    language_ = InterfaceLanguage;
    showTexts(texts(), language_);
    plan_.reset();
    record_.reset();
    for (ListBox* list : {ListBox1, ListBox2}) list->clear();
    Label1->clear();
    Label2->clear();
    Memo1->clear();
    Memo2->clear();
    Memo2->hide();
    Button3->setText(message(Message::showFiles));
    CheckBox1->setText(message(Message::noRecords));
    const bool plan = stage == Stage::Planning;
    for (QWidget* group : {GroupBox1, GroupBox2, GroupBox3, GroupBox4}) group->setVisible(plan);
    placeBottom(plan ? PlanBottom : UndoBottom);
    setFixedSize(ClientWidth, (plan ? PlanBottom : UndoBottom) + BottomHeight);
    showStage(stage);
    if (!isVisible() && mainWindow_) centreOver(this, mainWindow_);
    show();
}

// What each stage shows and lets the player do.
void TForm5::showStage(Stage stage) {
    stage_ = stage;
    const bool planning = stage == Stage::Planning, undoing = stage == Stage::Undoing;
    const bool done = stage == Stage::Installed || stage == Stage::Undone;
    const bool withPlan = stage == Stage::Planned || stage == Stage::Installing ||
                          stage == Stage::Cancelling || stage == Stage::Installed;
    Button3->setEnabled(withPlan);
    CheckBox1->setEnabled(stage == Stage::Planned && plan_ && !plan_->offeredRecords.empty());
    ListBox2->setEnabled(plan_ && !plan_->offeredRecords.empty());
    ProgressBar1->setVisible(planning || undoing || stage == Stage::Installing ||
                             stage == Stage::Cancelling);
    // A work of unknown length shows the bar moving to and fro.
    if (planning || undoing) ProgressBar1->setRange(0, 0);
    Edit1->setVisible(stage == Stage::Installed || stage == Stage::UndoOffered);
    Button1->setVisible(!done && stage != Stage::UndoOffered && !undoing);
    Button1->setEnabled(stage == Stage::Planned && plan_ && plan_->installable() &&
                        installsSomething(*plan_));
    Button4->setVisible(stage == Stage::Installed || stage == Stage::UndoOffered || undoing);
    Button4->setEnabled(!undoing);
    Button2->setVisible(!done);
    Button2->setEnabled(stage != Stage::Cancelling && !undoing);
    Button5->setVisible(done);
    if (planning) Label3->setText(message(Message::checking));
    if (undoing) Label3->setText(message(Message::undoing));
    if (stage == Stage::Cancelling) Label3->setText(message(Message::cancelling));
    // The keyboard lands where the next step is.
    QPushButton* next = stage == Stage::Planned && Button1->isEnabled() ? Button1
                        : stage == Stage::UndoOffered                   ? Button4
                        : done                                          ? Button5
                                                                        : Button2;
    if (next->isVisible() && next->isEnabled()) next->setFocus(Qt::OtherFocusReason);
}

void TForm5::openPack(const std::string& archive) {
    if (busy() || stage_ == Stage::Planning) return;
    openAs(Stage::Planning);
    const std::string name = archive.substr(archive.rfind('/') + 1);
    Label1->setText(message(Message::pack).arg(shownFileName(name)));
    const unsigned job = ++job_;
    // A work set aside, a planning cancelled, is told to stop and waited for here.
    worker_ = std::jthread([this, job, root = InstallRoot, archive](const std::stop_token& stop) {
        auto plan =
            std::make_shared<const PackPlan>(planPack(root, archive, sceneryPictureProblem, stop));
        QMetaObject::invokeMethod(
            this, [this, job, plan] { planned(job, plan); }, Qt::QueuedConnection);
    });
}

void TForm5::planned(unsigned job, const std::shared_ptr<const PackPlan>& plan) {
    if (job != job_ || stage_ != Stage::Planning) return;
    if (plan->error) {
        failed(utf8(packErrorText(language_, plan->error)));
        return;
    }
    plan_ = plan;
    showPlan();
    showStage(Stage::Planned);
}

void TForm5::showPlan() {
    const PackPlan& plan = *plan_;
    for (const PlannedScenery& scenery : plan.sceneries) {
        const QString title = utf8(scenery.check.title);
        ListBox1->addItem(scenery.action == EntryAction::Replace
                              ? message(Message::replacesScenery).arg(title)
                              : title);
    }
    Label2->setText(message(Message::counts)
                        .arg(countOf(plan, EntryAction::Add))
                        .arg(countOf(plan, EntryAction::Replace))
                        .arg(countOf(plan, EntryAction::Refuse)));

    // The records are offered, and added unless the player says otherwise: without them the new
    // sceneries' trains would stay off the list.
    const bool records = !plan.offeredRecords.empty();
    CheckBox1->setChecked(records);
    if (records) CheckBox1->setText(message(Message::addRecords).arg(plan.offeredRecords.size()));
    for (const CatalogueLines& record : plan.offeredRecords)
        ListBox2->addItem(record[1] == record[0] || record[1].empty()
                              ? shownText(record[0])
                              : shownText(record[1]) + QStringLiteral(" (") + shownText(record[0]) +
                                    QLatin1Char(')'));

    QStringList lacks;
    for (const PlannedScenery& scenery : plan.sceneries) {
        if (scenery.check.problems.empty()) continue;
        lacks << utf8(scenery.check.title) + QLatin1Char(':');
        for (const SceneryProblem& problem : scenery.check.problems)
            lacks << QStringLiteral("  – ") + utf8(problemText(language_, problem));
    }
    if (plan.sceneries.empty())
        lacks << message(Message::noSceneries);
    else if (lacks.isEmpty())
        lacks << message(Message::lacksNothing);
    Memo1->setPlainText(lacks.join(QLatin1Char('\n')));

    if (!installsSomething(plan))
        Label3->setText(message(Message::nothingToInstall));
    else if (!plan.installable())
        Label3->setText(message(Message::noSpace)
                            .arg(utf8(sizeText(language_, plan.spaceNeeded)),
                                 utf8(sizeText(language_, plan.spaceFree))));
    else
        Label3->setText(message(Message::sizes)
                            .arg(utf8(sizeText(language_, plan.bytes)),
                                 utf8(sizeText(language_, plan.spaceFree))));
}

QString TForm5::fileList() const {
    const PackPlan& plan = *plan_;
    QStringList lines;
    const struct {
        EntryAction action;
        BilingualText heading;
    } groups[] = {{EntryAction::Add, Message::newFiles},
                  {EntryAction::Replace, Message::replacedFiles},
                  {EntryAction::Refuse, Message::refusedFiles}};
    for (const auto& group : groups) {
        const std::size_t count = countOf(plan, group.action);
        if (count == 0) continue;
        lines << message(group.heading).arg(count);
        for (const PlannedFile& file : plan.files) {
            if (file.action != group.action) continue;
            // A refused entry may have no place: it is named as the pack names it.
            if (file.action == EntryAction::Refuse)
                lines << QStringLiteral("  ") + utf8(file.name) + QStringLiteral(": ") +
                             utf8(refusalText(language_, file.refusal));
            else
                lines << QStringLiteral("  ") + shownFileName(file.target);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

void TForm5::Button3Click() {
    if (!plan_) return;
    const bool show = !Memo2->isVisible();
    // Built once asked for: a pack of tens of thousands of files need not wait for its list.
    if (show && Memo2->document()->isEmpty()) Memo2->setPlainText(fileList());
    Memo2->setVisible(show);
    Button3->setText(message(show ? Message::hideFiles : Message::showFiles));
    setFixedSize(ClientWidth, PlanBottom + BottomHeight + (show ? FileListHeight : 0));
    // The window grows downwards, and moves up as far as it must to stay on the screen.
    if (const QScreen* screen = this->screen()) {
        const QRect free = screen->availableGeometry();
        const int below = frameGeometry().bottom() - free.bottom();
        if (show && below > 0) move(x(), std::max(free.top(), y() - below));
    }
}

void TForm5::Button1Click() {
    if (stage_ != Stage::Planned || !plan_ || !plan_->installable()) return;
    ProgressBar1->setRange(0, 1000);
    ProgressBar1->setValue(0);
    progress_ = InstallProgress();
    showStage(Stage::Installing);
    showProgress();
    const unsigned job = ++job_;
    const InstallOptions options{CheckBox1->isChecked()};
    worker_ = std::jthread([this, job, plan = plan_, options](const std::stop_token& stop) {
        const InstallResult result =
            installPack(*plan, options, stop, [this](const InstallProgress& now) {
                {
                    const std::lock_guard lock(progressLock_);
                    progress_ = now;
                }
                if (!progressPosted_.exchange(true))
                    QMetaObject::invokeMethod(this, &TForm5::showProgress, Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this,
            [this, job, result] {
                if (job == job_) installed(result);
            },
            Qt::QueuedConnection);
    });
}

void TForm5::showProgress() {
    progressPosted_ = false;
    InstallProgress now;
    {
        const std::lock_guard lock(progressLock_);
        now = progress_;
    }
    if (stage_ != Stage::Installing) return;
    const std::uint64_t total = std::max<std::uint64_t>(plan_->bytes, 1);
    ProgressBar1->setValue(
        static_cast<int>(std::min<std::uint64_t>(now.bytesWritten, total) * 1000 / total));
    if (now.filesPlaced == 0)
        Label3->setText(message(Message::writing)
                            .arg(utf8(sizeText(language_, now.bytesWritten)),
                                 utf8(sizeText(language_, plan_->bytes))));
    else
        Label3->setText(message(Message::placing).arg(now.filesPlaced).arg(now.filesTotal));
}

void TForm5::installed(const InstallResult& result) {
    if (result.error.kind == PackError::Kind::Cancelled) {
        stage_ = Stage::Closed;
        hide();
        return;
    }
    if (result.error) {
        failed(utf8(packErrorText(language_, result.error, plan_->spaceNeeded)));
        return;
    }
    record_ = result.record;
    // The main window lists the new sceneries at once.
    emit installationChanged();
    ProgressBar1->setValue(1000);
    showRecord(Message::installed);
    showStage(Stage::Installed);
}

void TForm5::showRecord(const BilingualText& text) {
    Label3->setText(message(text).arg(record_->added).arg(record_->replaced));
    Edit1->setText(shownFileName(record_->folder));
    Edit1->setCursorPosition(0);
}

void TForm5::offerUndo() {
    if (busy() || stage_ == Stage::Planning) return;
    std::optional<InstallRecord> last = lastInstall(InstallRoot);
    if (!last) {
        language_ = InterfaceLanguage;
        MessageBox::showInformation(message(Message::nothingToUndo));
        return;
    }
    openAs(Stage::UndoOffered);
    record_ = std::move(last);
    Label1->setText(message(Message::lastInstall)
                        .arg(shownFileName(record_->packName),
                             QDateTime::fromSecsSinceEpoch(record_->time)
                                 .toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    showRecord(Message::undoOffer);
}

void TForm5::Button4Click() {
    if (!record_ || (stage_ != Stage::Installed && stage_ != Stage::UndoOffered)) return;
    showStage(Stage::Undoing);
    const unsigned job = ++job_;
    worker_ = std::jthread([this, job, root = InstallRoot, record = *record_] {
        const PackError error = undoInstall(root, record);
        QMetaObject::invokeMethod(
            this,
            [this, job, error] {
                if (job == job_) undone(error);
            },
            Qt::QueuedConnection);
    });
}

void TForm5::undone(const PackError& error) {
    // Whatever an undo did, the main window shows the installation as it now stands.
    emit installationChanged();
    if (error) {
        failed(utf8(packErrorText(language_, error)));
        return;
    }
    Label3->setText(message(Message::undone).arg(record_->added).arg(record_->replaced));
    showStage(Stage::Undone);
}

// A failure is told in a box over the window, which then closes: nothing was installed, or
// what was is as the box says.
void TForm5::failed(const QString& text) {
    MessageBox::showError(text);
    stage_ = Stage::Closed;
    hide();
}

void TForm5::Button2Click() {
    switch (stage_) {
    case Stage::Installing:
        // The window stays until the install has taken back what it wrote.
        worker_.request_stop();
        showStage(Stage::Cancelling);
        return;
    case Stage::Cancelling:
    case Stage::Undoing:
        return;
    case Stage::Planning:
        // The planning ends on its own thread; what it still reports is dropped.
        worker_.request_stop();
        ++job_;
        break;
    default:
        break;
    }
    stage_ = Stage::Closed;
    hide();
}

void TForm5::Button5Click() {
    stage_ = Stage::Closed;
    hide();
}

void TForm5::closeEvent(QCloseEvent* event) {
    // The close box and Escape are Cancel, or Close once the work is done.
    event->ignore();
    if (stage_ == Stage::Installed || stage_ == Stage::Undone)
        Button5Click();
    else
        Button2Click();
}

void TForm5::tellRecovered(const Recovery& recovery) {
    language_ = InterfaceLanguage;
    const auto names = [](const std::vector<std::string>& packs) {
        QStringList shown;
        for (const std::string& pack : packs) shown << shownFileName(pack);
        return shown.join(QStringLiteral(", "));
    };
    if (!recovery.rolledBack.empty())
        MessageBox::showInformation(message(Message::rolledBack).arg(names(recovery.rolledBack)));
    if (!recovery.undone.empty())
        MessageBox::showInformation(message(Message::undoFinished).arg(names(recovery.undone)));
    // Another launcher installing meanwhile takes care of its own install.
    if (recovery.error && recovery.error.kind != PackError::Kind::Busy)
        MessageBox::showError(
            message(Message::notRecovered).arg(utf8(packErrorText(language_, recovery.error))));
}

std::string droppedPack(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) return {};
    // The name's own bytes, also where they are not UTF-8.
    const std::string path =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
    return isPackFileName(path.substr(path.rfind('/') + 1)) ? path : std::string();
}
