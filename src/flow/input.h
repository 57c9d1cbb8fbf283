// The window's event handlers: every change of state starts in one of these.
#pragma once

namespace pelmot {

class Game;

enum MouseButton { kLeftButton = 1, kRightButton = 2 };
enum KeyCode { kKeyEnter = 13, kKeyShift = 16, kKeyF1 = 112 };

void Form_MouseDown(Game& game, int button, int shift, int x, int y);
void MainPic_MouseDown(Game& game, int button, int shift, int x, int y);
void SkipB_MouseDown(Game& game, int button, int shift, int x, int y);
void Form_KeyDown(Game& game, int keyCode, int shift);
void Form_KeyUp(Game& game, int keyCode, int shift);
void SkipTimer_Timer(Game& game);
void Form_MouseMove(Game& game, int button, int shift, int x, int y);
void MainPic_MouseMove(Game& game, int button, int shift, int x, int y);

// Deliver a press or a move at x, y of the 800 x 600 client area to the
// control that takes it: a visible skip button takes its strip, an enabled
// MainPic takes what lies over it, the window takes the rest.
void RouteMouseDown(Game& game, int button, int shift, int x, int y);
void RouteMouseMove(Game& game, int button, int shift, int x, int y);

}  // namespace pelmot
