#include "qt/qt_file_picker.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "qt/qstring_bytes.h"

namespace vistello {

namespace {

// "*.jpg" becomes "*.[jJ][pP][gG]", so that a camera's IMG_0001.JPG is a JPG file too.
QString AnyCase(const QString& pattern) {
    QString glob;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            glob += QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper());
        } else {
            glob += c;
        }
    }
    return glob;
}

// The readable patterns are part of the label; the last bracket holds the ones that match.
QStringList NameFilters(const FilePickerOptions& options) {
    QStringList filters;
    for (const FileFilter& filter : options.filters) {
        QStringList shown;
        QStringList matched;
        for (const std::string& pattern : filter.patterns) {
            shown << ToQString(pattern);
            matched << AnyCase(ToQString(pattern));
        }
        filters << QStringLiteral("%1 (%2) (%3)")
                       .arg(ToQString(filter.label), shown.join(' '), matched.join(' '));
    }
    return filters;
}

QString StartFolder(const std::string& folder) {
    return folder.empty() ? QDir::currentPath() : ToQString(folder);
}

void SetUp(QFileDialog& picker, const FilePickerOptions& options, const QString& title) {
    picker.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
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
