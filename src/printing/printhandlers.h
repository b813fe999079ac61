#pragma once

#include "state/sharedstate.h"

namespace quorix {

class Form;

// The print commands of the windows that print. Each is the whole handler of one menu entry; the
// window it acts on and the state it reads are passed in, so every window wires them in one line.

// Every document is named after the window it comes from, as the print queue shows it.

// Plot print: the window's image as one page. A failure shows its number and text, e.g. " 27
// Error: Out of paper.", and ends the command; the window and its drawing stay as they were.
void PlotPrint(Form& window, const SharedState& state);

// Plot print setup: the setup dialog owned by the window, filled from the application printer. On
// a confirmation the printer named in the dialog becomes the application printer and the dialog's
// seven settings are copied to it; a cancel changes nothing. From now on the application printer
// no longer follows the system default.
void PlotPrintSetup(Form& window);

// List print from its menu entry: the alias lines as one document. A failure is reported as the
// plot print reports it, so that a list that did not print never looks printed.
void ListPrint(Form& window, const SharedState& state);

// List print setup: the standard print dialog; once confirmed, the list is printed as many times
// as copies were chosen, each copy a document of its own. A cancel or any failure ends it silently.
void ListPrintSetup(Form& window, const SharedState& state);

} // namespace quorix
