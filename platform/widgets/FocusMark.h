#pragma once

class QRect;
class QWidget;

// The control that has the keyboard focus carries a ring, two pixels wide in dark blue, inside
// its edge: it stands out on the white of a text box or list, the grey of a button and the green
// of the windows alike, whatever the control draws of its own focus, if anything. The ring goes
// round the part of the control its window shows, round a check box's caption, and leaves the
// control when its window is not the active one.

// Shows the ring in every window of the application from now on.
void showFocusMarks();

// The part of a control that its ring goes round, where it draws in only a part of itself.
void setFocusMarkArea(QWidget* control, const QRect& area);
