#include "platform/widgets/FolderChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QUrl>

std::string chooseFolder(const FolderChooserTexts& texts, const std::string& startFolder) {
    QFileDialog dialog(nullptr, texts.caption, QFile::decodeName(startFolder.c_str()));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // A plain list of folders: no column headers in the toolkit's language.
    dialog.setViewMode(QFileDialog::List);
    dialog.setLabelText(QFileDialog::LookIn, texts.lookIn);
    dialog.setLabelText(QFileDialog::FileName, texts.folder);
    dialog.setLabelText(QFileDialog::Accept, texts.accept);
    dialog.setLabelText(QFileDialog::Reject, texts.cancel);
    // Neither the type of what is chosen, always a folder, nor the sidebar's "Computer" is
    // shown in the toolkit's own language beside the texts given.
    for (const char* name : {"fileTypeLabel", "fileTypeCombo"})
        if (auto* row = dialog.findChild<QWidget*>(QLatin1String(name))) row->hide();
    dialog.setSidebarUrls({QUrl::fromLocalFile(QDir::homePath()), QUrl::fromLocalFile("/")});
    dialog.setAccessibleName(texts.caption);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}
