// The save-file dialog on Qt's own file dialog, which the UI robot can answer.
#include "platform/ui/save_file_dialog.h"

#include "platform/ui/dialog_runner.h"
#include "platform/ui/dialog_window.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

// "*.plt" stays as it is; "Plot files|*.plt|All|*" pairs become "Plot files (*.plt)".
QStringList NameFilters(const std::string& filter)
{
    QStringList parts = ToQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    if (parts.size() < 2) {
        QString pattern = parts.value(0).trimmed();
        if (!pattern.isEmpty())
            filters << pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        return filters;
    }
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i].trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

} // namespace

int RunSaveFileDialog(const std::string& title, const std::string& filter, int filterIndex,
                      const std::string& defaultExtension, const std::string& initialName,
                      unsigned flags, std::string* outPath, QWidget* owner)
{
    if (!EnsureQtApplication())
        return 0;
    QFileDialog dialog(owner, title.empty() ? QStringLiteral("Save As") : ToQt(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(flags & kSavePromptOverwrite));
    QStringList filters = NameFilters(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (filterIndex >= 1 && filterIndex <= filters.size())
            dialog.selectNameFilter(filters[filterIndex - 1]);
    }
    if (!defaultExtension.empty())
        dialog.setDefaultSuffix(ToQt(defaultExtension));
    if (!initialName.empty()) {
        QFileInfo initial(ToQt(initialName));
        if (initialName.find('/') != std::string::npos)
            dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }

    RobotFileDialogOpened(&dialog);
    int result = dialog.exec();
    RobotFileDialogClosed(&dialog);
    QStringList chosen = dialog.selectedFiles();
    if (result != QDialog::Accepted || chosen.isEmpty())
        return 0;
    if (outPath != nullptr)
        *outPath = FromQt(chosen.first());
    return 1;
}
