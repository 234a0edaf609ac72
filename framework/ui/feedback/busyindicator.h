#pragma once

class QWidget;

// Busy indicator over a form while a long synchronous task runs on the user-interface thread: the
// form is dimmed and a panel in its middle shows a wheel and the caption. It is painted at once when
// shown; its wheel turns whenever the event loop runs (a message shown during the task, say), since a
// blocked thread cannot animate. kind selects the caption (0 and unknown kinds: "Processando...").
// One indicator at a time: showing another replaces the first. The indicator's objectName is
// "busyIndicator" and its accessible name the caption.
void ActiveShowAvi(QWidget *form, int kind = 0);
void DeactiveShowAvi();
// The indicator on screen, if any (for tests).
QWidget *busyIndicator();
