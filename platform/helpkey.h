#pragma once
// F1 opens the help of the control the user is in. A control carries its help
// context number as the dynamic property "helpContext" (so a form file can set
// it too); F1 walks from the focused control up to its window and opens the
// first number it meets.

#include <QObject>

class QWidget;

namespace kelvari {

class HelpEngine;

// Gives the widget a help context; 0 takes it away.
void setHelpContext(QWidget *widget, int context);
// The widget's own help context; 0 when it has none.
int helpContext(const QWidget *widget);
// The context F1 opens on this widget: its own, else the nearest one among its
// parents up to and including its window; 0 when there is none.
int contextForHelpKey(const QWidget *widget);

// While it lives, F1 in any window of the program opens the context of the
// focused control. Where no control on the way has a context, F1 is left
// alone, so a window's own F1 command (the main window's contents) still runs.
class HelpKey : public QObject {
    Q_OBJECT
public:
    explicit HelpKey(HelpEngine &engine, QObject *parent = nullptr);
    ~HelpKey() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HelpEngine &m_engine;
};

} // namespace kelvari
