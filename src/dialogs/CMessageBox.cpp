#include "dialogs/CMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace mc::dialogs {

namespace {
MessageHandler& handlerSlot()
{
    static MessageHandler handler;
    return handler;
}
} // namespace

void ShowMessage(const QString& text, QWidget* parent)
{
    if (const MessageHandler& handler = handlerSlot()) {
        handler(text);
        return;
    }
    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Muralcrafter"), text, QMessageBox::Ok, parent);
    box.exec();
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    MessageHandler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

} // namespace mc::dialogs
