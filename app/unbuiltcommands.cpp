#include "app/unbuiltcommands.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QWidget>

namespace kelvari {
namespace {

// Turns a widget off again whenever something turns it on.
class StayDisabled : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::EnabledChange) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->isEnabled())
                widget->setEnabled(false);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void disableUnbuiltCommands(QWidget &window) {
    // An action of a disabled group stays disabled whatever its own state says.
    auto *actions = new QActionGroup(&window);
    actions->setObjectName(QStringLiteral("unbuiltCommands"));
    actions->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    auto *keeper = new StayDisabled(&window);
    for (QLatin1StringView name : kUnbuiltCommands) {
        if (auto *action = window.findChild<QAction *>(name)) {
            actions->addAction(action);
        } else if (auto *widget = window.findChild<QWidget *>(name)) {
            widget->setEnabled(false);
            widget->installEventFilter(keeper);
        }
    }
    actions->setEnabled(false);
}

} // namespace kelvari
