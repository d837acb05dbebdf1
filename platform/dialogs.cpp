#include "platform/dialogs.h"

namespace kelvari {

int Dialogs::error(QWidget *owner, const QString &text, std::optional<QString> caption) {
    MessageRequest request;
    request.owner = owner;
    request.kind = MessageKind::Error;
    request.caption = std::move(caption);
    request.text = text;
    return message(request);
}

int Dialogs::information(QWidget *owner, const QString &text, std::optional<QString> caption) {
    MessageRequest request;
    request.owner = owner;
    request.kind = MessageKind::Information;
    request.caption = std::move(caption);
    request.text = text;
    return message(request);
}

} // namespace kelvari
