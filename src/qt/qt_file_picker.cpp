#include "qt/qt_file_picker.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "qt/qstring_bytes.h"

namespace vistello {

namespace {

// The picker's own matching ignores letter case, so a camera's IMG_0001.JPG is a JPG file too.
QStringList NameFilters(const FilePickerOptions& options) {
    QStringList filters;
    for (const FileFilter& filter : options.filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns) patterns << ToQString(pattern);
        filters << QStringLiteral("%1 (%2)").arg(ToQString(filter.label), patterns.join(' '));
    }
    return filters;
}

QString StartFolder(const std::string& folder) {
    return folder.empty() ? QDir::currentPath() : ToQString(folder);
}

void SetUp(QFileDialog& picker, const FilePickerOptions& options, const QString& title) {
    picker.setOption(QFileDialog::DontUseNativeDialog);
    picker.setWindowTitle(options.title.empty() ? title : ToQString(options.title));
    picker.setDirectory(StartFolder(options.folder));
    picker.setNameFilters(NameFilters(options));
    picker.setDefaultSuffix(ToQString(options.defaultExtension));
}

std::optional<std::string> Run(QFileDialog& picker) {
    if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty()) return std::nullopt;
    return ToBytes(picker.selectedFiles().constFirst());
}

}  // namespace

std::optional<std::string> ShowSaveFilePicker(QWidget* parent, const FilePickerOptions& options) {
    QFileDialog picker(parent);
    SetUp(picker, options, QStringLiteral("Save As"));
    picker.setAcceptMode(QFileDialog::AcceptSave);
    picker.setFileMode(QFileDialog::AnyFile);
    return Run(picker);
}

std::optional<std::string> ShowOpenFilePicker(QWidget* parent, const FilePickerOptions& options) {
    QFileDialog picker(parent);
    SetUp(picker, options, QStringLiteral("Open"));
    picker.setAcceptMode(QFileDialog::AcceptOpen);
    picker.setFileMode(QFileDialog::ExistingFile);
    return Run(picker);
}

std::optional<std::string> ShowFolderPicker(QWidget* parent, const std::string& title,
                                            const std::string& folder) {
    QFileDialog picker(parent);
    picker.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    picker.setWindowTitle(ToQString(title));
    picker.setDirectory(StartFolder(folder));
    picker.setFileMode(QFileDialog::Directory);
    return Run(picker);
}

}  // namespace vistello
