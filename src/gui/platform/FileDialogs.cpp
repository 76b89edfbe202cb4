#include "FileDialogs.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStandardPaths>

namespace {

// The file list's sizes and dates: the file model writes them in the system's language,
// which may not be French.
class FrenchFileList final : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        const QModelIndex source = mapToSource(index);
        if (role != Qt::DisplayRole || !files || !source.isValid())
            return QIdentityProxyModel::data(index, role);
        constexpr int kSize = 1;
        constexpr int kModified = 3;
        if (index.column() == kSize && !files->isDir(source))
            return QLocale().formattedDataSize(files->size(source));
        if (index.column() == kModified)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }

    // The dialog sorts through its view's model: the file model sorts itself.
    void sort(int column, Qt::SortOrder order) override { sourceModel()->sort(column, order); }
};

} // namespace

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                        const QStringList &filters, QString *filter)
{
    QFileDialog dialog(parent, caption);
    // The desktop's own dialog would speak the desktop's language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setProxyModel(new FrenchFileList(&dialog));
    dialog.setNameFilters(filters);
    if (filter && !filter->isEmpty())
        dialog.selectNameFilter(*filter);
    const QFileInfo file(suggested);
    dialog.setDirectory(file.absolutePath());
    dialog.selectFile(file.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (filter)
        *filter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QString askFolder(QWidget *parent, const QString &caption, const QString &start)
{
    QFileDialog dialog(parent, caption, start);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setProxyModel(new FrenchFileList(&dialog));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString inDocuments(const QString &fileName)
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(documents).isDir())
        documents = QDir::homePath();
    return QDir(documents).filePath(fileName);
}
