#include "dialogs/CStandardDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QStringList>

namespace mc::dialogs {

namespace {
OpenFileHandler& openSlot()
{
    static OpenFileHandler handler;
    return handler;
}
ColorHandler& colorSlot()
{
    static ColorHandler handler;
    return handler;
}
} // namespace

QList<FilterEntry> ParseFilter(const QString& filter)
{
    QList<FilterEntry> entries;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break; // the closing "||"
        entries.append({parts[i], parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)});
    }
    return entries;
}

QStringList QtNameFilters(const QString& filter)
{
    // The dialog reads the patterns from the last parentheses of a filter and
    // splits them at blanks only, so the ';'-separated list of the label would
    // match nothing: a blank-separated copy follows the label.
    QStringList result;
    for (const FilterEntry& e : ParseFilter(filter))
        result << e.label + QStringLiteral(" (") + e.patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    return result;
}

QString AskOpenFileName(QWidget* parent, const QString& filter)
{
    if (const OpenFileHandler& handler = openSlot())
        return handler(filter);

    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(QtNameFilters(filter));
    // Shows each label exactly as written and hides the blank-separated
    // pattern list appended for the dialog's own matching.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

std::optional<QColor> AskColor(QWidget* parent, QColor initial)
{
    if (const ColorHandler& handler = colorSlot())
        return handler(initial);
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

OpenFileHandler SetOpenFileHandler(OpenFileHandler handler)
{
    OpenFileHandler previous = std::move(openSlot());
    openSlot() = std::move(handler);
    return previous;
}

ColorHandler SetColorHandler(ColorHandler handler)
{
    ColorHandler previous = std::move(colorSlot());
    colorSlot() = std::move(handler);
    return previous;
}

} // namespace mc::dialogs
