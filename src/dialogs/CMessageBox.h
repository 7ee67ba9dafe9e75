#pragma once
// Every message the program shows goes through here: a modal box titled
// "Muralcrafter" with one OK button. Tests install a handler instead, which
// receives the text and shows nothing.
#include <QString>

#include <functional>

class QWidget;

namespace mc::dialogs {

// Shows `text`; the parent defaults to the application's active window.
void ShowMessage(const QString& text, QWidget* parent = nullptr);

// Replaces the box by `handler` (an empty function restores the box).
// Returns the handler that was installed before.
using MessageHandler = std::function<void(const QString& text)>;
MessageHandler SetMessageHandler(MessageHandler handler);

} // namespace mc::dialogs
