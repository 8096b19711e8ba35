#pragma once

#include "packs/PackInstall.h"
#include "packs/PackPlan.h"
#include "platform/system/Language.h"
#include "platform/widgets/ToolWindow.h"
#include "platform/widgets/WindowTexts.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class ListBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The install window: what a downloaded pack adds to the installation, its install with a
// progress bar and Cancel, and the undo of the last install. The pack is planned, installed and
// undone on a thread of its own, so that the window, and the launcher's others, keep answering
// for packs of gigabytes; the window blocks the others meanwhile, as the installation changes
// under them. It takes the interface language when it opens.
class TForm5 : public ToolWindow {
    Q_OBJECT
public:
    // interfaceLanguage is the main window's live language field.
    TForm5(QWidget* mainWindow, const Language& interfaceLanguage, std::string installRoot);
    ~TForm5() override;

    // Opens the window on the pack in the archive at that path (absolute), which it plans at once.
    void openPack(const std::string& archive);
    // Opens the window offering to undo the installation's last install, or says there is none.
    void offerUndo();
    // Tells the player what the installation's opening took back of installs and undos cut short.
    void tellRecovered(const Recovery& recovery);

    // The controls, named as designed.
    QLabel* Label1 = nullptr; // the pack
    QGroupBox* GroupBox1 = nullptr;
    ListBox* ListBox1 = nullptr; // the sceneries it adds, by their titles
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label2 = nullptr; // how many files are new, replaced, refused
    QPushButton* Button3 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QCheckBox* CheckBox1 = nullptr; // the catalogue records are added
    ListBox* ListBox2 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QPlainTextEdit* Memo1 = nullptr; // what the new sceneries will lack
    QLabel* Label3 = nullptr;        // how far the work is
    QProgressBar* ProgressBar1 = nullptr;
    QLineEdit* Edit1 = nullptr; // the backup folder
    QPushButton* Button4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button5 = nullptr;
    QPlainTextEdit* Memo2 = nullptr; // the pack's files, shown on demand

    void Button1Click(); // install
    void Button2Click(); // cancel
    void Button3Click(); // the list of files
    void Button4Click(); // undo the install
    void Button5Click(); // close

signals:
    // The installation's files changed: a pack was installed, or an install undone.
    void installationChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Stage {
        Closed,
        Planning,
        Planned,
        Installing,
        Cancelling,
        Installed,
        UndoOffered,
        Undoing,
        Undone
    };

    void buildControls();
    std::vector<WindowText> texts();
    QString message(const BilingualText& text) const;
    void openAs(Stage stage);
    void placeBottom(int top);
    void showStage(Stage stage);
    bool busy() const;

    void planned(unsigned job, const std::shared_ptr<const PackPlan>& plan);
    void showPlan();
    void showProgress();
    void installed(const InstallResult& result);
    void showRecord(const BilingualText& text);
    void undone(const PackError& error);
    void failed(const QString& text);
    QString fileList() const;

    const Language& InterfaceLanguage;
    const std::string InstallRoot;
    QWidget* mainWindow_;
    Language language_ = Language::Polish; // the language the window opened in
    Stage stage_ = Stage::Closed;
    std::shared_ptr<const PackPlan> plan_;
    std::optional<InstallRecord> record_;
    // Each work the window starts has its number: what a work set aside still reports is
    // dropped.
    unsigned job_ = 0;
    // The install's progress, from its thread to the window's, with at most one report on its
    // way at a time however often the install tells.
    std::mutex progressLock_;
    InstallProgress progress_;
    std::atomic<bool> progressPosted_ = false;
    // The work under way; last, so that it ends before anything it reports to goes.
    std::jthread worker_;
};

// The pack of a drop on the main window: one local file whose name is a pack's; "" for any
// other drop.
std::string droppedPack(const QMimeData* data);
