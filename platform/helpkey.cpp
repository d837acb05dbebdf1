#include "platform/helpkey.h"

#include "platform/helpengine.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kelvari {
namespace {

const char kProperty[] = "helpContext";

bool isHelpKey(const QEvent *event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier;
}

} // namespace

void setHelpContext(QWidget *widget, int context) {
    widget->setProperty(kProperty, context == 0 ? QVariant() : QVariant(context));
}

int helpContext(const QWidget *widget) {
    return widget->property(kProperty).toInt();
}

int contextForHelpKey(const QWidget *widget) {
    // The walk ends at the window: a dialog does not borrow its owner's help.
    for (const QWidget *w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (const int context = helpContext(w))
            return context;
    }
    return 0;
}

HelpKey::HelpKey(HelpEngine &engine, QObject *parent) : QObject(parent), m_engine(engine) {
    QCoreApplication::instance()->installEventFilter(this);
}

HelpKey::~HelpKey() {
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool HelpKey::eventFilter(QObject *watched, QEvent *event) {
    if (!isHelpKey(event) || !watched->isWidgetType())
        return false;
    const int context = contextForHelpKey(static_cast<QWidget *>(watched));
    if (context == 0)
        return false;
    // Claiming the shortcut override keeps a window's F1 shortcut from taking
    // the key; the key press that follows opens the help.
    event->accept();
    if (event->type() == QEvent::KeyPress)
        m_engine.showContext(context);
    return true;
}

} // namespace kelvari
