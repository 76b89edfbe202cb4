#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The standard dialog that asks where to save a file, entirely in French whatever the
// system's language: its captions and buttons from the embedded catalogue, and the sizes and
// dates of its file list written the French way. `filter` gives the file type offered first
// and receives the one chosen. Returns the chosen path, or nothing when the user cancels.
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                        const QStringList &filters, QString *filter = nullptr);

// A file name offered in the user's documents folder (the home folder when there is none).
QString inDocuments(const QString &fileName);

// The same dialog asking for a folder, starting from `start`; nothing when the user cancels.
QString askFolder(QWidget *parent, const QString &caption, const QString &start);
