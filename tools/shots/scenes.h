#pragma once

class Camera;

// What orvante-shots photographs, each scene in the running language against a freshly reset
// virtual flight controller.
namespace Scenes {

// The connected main window, the warning box (short and long questions) and the restart notice.
void mainWindow(Camera& camera);
// The main window moved aside on the screen, and each of its questions where it opens over it:
// restore defaults, the version, the restart notice, a firmware page message, the load question
// with its table, the history; the window while an update runs (its buttons disabled) and with
// the keyboard's focus ring.
void dialogsOverWindow(Camera& camera);
// The notice for a controller left in its bootloader, its setup kept in the history.
void bootloaderNotice(Camera& camera);
// The message for a controller this user may not open.
void accessNotice(Camera& camera);
// The firmware page idle, updating, after success and after a failed verify, and every
// question and message before an update; the main window's question on closing during one.
void firmware(Camera& camera);
// The status page and the airframe page with its mounting sub-page.
void statusAndAirframe(Camera& camera);
// The parameter sub-pages, the load question with its table, the history dialog, the Save
// button's not-stored mark and the close question it brings.
void parameters(Camera& camera);
// The radio page recognising the receiver, live, with the flight-mode popup, and calibrating.
void radio(Camera& camera);
// The scope window live, with a selected graph, and with the legend moved while paused.
void scope(Camera& camera);
// The main window beside the installed icon at each size (one picture, any language).
void iconBesideWindow(Camera& camera);

} // namespace Scenes
