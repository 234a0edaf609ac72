#pragma once

class QWidget;

// Busy indicator over a form while a long synchronous task runs on the user-interface thread.
// A blocked thread cannot animate, so the indicator is a "Processando..." label painted once when
// shown. kind selects the caption (0 and unknown kinds: "Processando..."). One indicator at a time:
// showing another replaces the first. The indicator's objectName is "busyIndicator".
void ActiveShowAvi(QWidget *form, int kind = 0);
void DeactiveShowAvi();
// The indicator on screen, if any (for tests).
QWidget *busyIndicator();
