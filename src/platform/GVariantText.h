#pragma once
// GVariant text for strings, as gsettings prints and parses it: 'text' or
// "text" with backslash escapes (\\, \', \", \n, \t, \uXXXX, ...).
#include <QString>
#include <QStringView>

#include <optional>

namespace mc::platform {

// Parses one string literal (an optional "@s " type prefix is allowed);
// nullopt when the text is not exactly one well-formed string literal.
std::optional<QString> parseGVariantString(QStringView text);

// A literal gsettings parses back to exactly `value`: single-quoted, with
// backslashes, quotes and control characters escaped.
QString quoteGVariantString(const QString& value);

} // namespace mc::platform
