#pragma once
// The file and colour dialogs of the program's commands. Each can be replaced
// by a function (tests answer them without showing anything).
#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace mc::dialogs {

// An open-file dialog for an existing file. `filter` is written the way the
// program's filters are quoted: "Label|patterns|Label|patterns||", patterns
// separated by ';'. Returns the chosen path, or an empty string when the
// user cancels.
QString AskOpenFileName(QWidget* parent, const QString& filter);

// A colour dialog starting at `initial`; nullopt when cancelled.
std::optional<QColor> AskColor(QWidget* parent, QColor initial);

// The labels and pattern lists of a filter string, in order.
struct FilterEntry {
    QString label;
    QStringList patterns;
};
QList<FilterEntry> ParseFilter(const QString& filter);
// The name filters handed to QFileDialog for `filter`.
QStringList QtNameFilters(const QString& filter);

using OpenFileHandler = std::function<QString(const QString& filter)>;
using ColorHandler = std::function<std::optional<QColor>(QColor initial)>;
OpenFileHandler SetOpenFileHandler(OpenFileHandler handler);
ColorHandler SetColorHandler(ColorHandler handler);

} // namespace mc::dialogs
