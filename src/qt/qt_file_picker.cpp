#include "qt/qt_file_picker.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "qt/qstring_bytes.h"

namespace vistello {

namespace {

QStringList NameFilters(const FilePickerOptions& options) {
    QStringList filters;
    for (const FileFilter& filter : options.filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns) patterns << ToQString(pattern);
        filters << ToQString(filter.label) + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

}  // namespace

std::optional<std::string> ShowSaveFilePicker(QWidget* parent, const FilePickerOptions& options) {
    QFileDialog picker(parent);
    picker.setOption(QFileDialog::DontUseNativeDialog);
    picker.setAcceptMode(QFileDialog::AcceptSave);
    picker.setFileMode(QFileDialog::AnyFile);
    picker.setWindowTitle(options.title.empty() ? QStringLiteral("Save As")
                                                : ToQString(options.title));
    picker.setDirectory(QDir::currentPath());
    picker.setNameFilters(NameFilters(options));
    picker.setDefaultSuffix(ToQString(options.defaultExtension));
    if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty()) return std::nullopt;
    return ToBytes(picker.selectedFiles().constFirst());
}

}  // namespace vistello
