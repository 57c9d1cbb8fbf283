// pelmot in a browser page. The page's script (web_page.js) takes the tab's
// lock on the saves and loads them from IndexedDB, then calls main, which
// sets the game up and hands it to the browser's frame loop and returns.
// The game lives on the heap for the page's lifetime.
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "app/session.h"
#include "app/state_json.h"
#include "flow/pick.h"
#include "game/dialog_queue.h"
#include "main/import_recovery.h"
#include "persist/data_files.h"
#include "platform/common/clock.h"
#include "platform/common/mci_player.h"
#include "platform/ui_text.h"
#include "platform/web/late_font.h"
#include "platform/web/mo_catalogs.h"
#include "platform/web/page_lock.h"
#include "platform/web/web_codepage.h"
#include "platform/web/web_page.h"
#include "platform/web/web_paths.h"
#include "platform/web/web_pictures.h"
#include "platform/web/web_reading_aids.h"
#include "platform/web/web_storage.h"
#include "platform/web/web_window.h"
#include "shell/startup.h"

namespace pelmot {
namespace {

// Everything one page plays with, in the order it is made.
struct WebSession {
  WebWindow window;
  SystemClock clock;
  SteadyClock steady;
  WebCodePage codePage;
  WebFiles files;
  PageLock lock;
  WebPictureLoader pictures{[this] { return window.StepsTaken(); }};
  std::string fontProblem;  // the fonts come after the first frame (LateFontText)
  LateFontText text;
  DialogQueue boxes{&text};
  MciPlayer multimedia{boxes, [this] { return steady.NowMs(); }};
  Services services{clock, boxes, window, multimedia, pictures, text, files, codePage, lock, steady};
  WebReadingAids aids;
  GamePaths paths{std::string(kWebDataRoot), std::string(kWebContentFolder)};
  MoCatalogs catalogs{files, paths.content};
  std::unique_ptr<GameSession> game;
  BoxesOnly boxesOnly{boxes};
  bool playing = false;
};

WebSession* session = nullptr;

// Shows the boxes open now, then runs `then` (at once when there are none).
void ShowBoxesThen(WebSession& s, std::function<void()> then) {
  if (!s.boxes.Open()) return then();
  s.window.Run(s.boxesOnly, std::move(then));
}

void Play(WebSession& s) {
  s.game = std::make_unique<GameSession>(
      s.services, s.paths,
      SessionParts{.boxes = &s.boxes, .movie = &s.multimedia, .catalogs = &s.catalogs, .aids = &s.aids});
  if (!s.game->InstallStory(std::cerr)) {
    s.boxes.ShowMessage(ScenarioProblemText(s.paths.content, false));
    ShowBoxesThen(s, [] { TellPage("stopped"); });
    return;
  }
  s.game->Start();
  s.playing = true;
  s.window.Run(s.game->host(), [&s] {
    s.playing = false;
    s.game->Finish(std::cerr);
    TellPage("ended");
  });
  TellPage("playing");
}

// Content still on its way holds the game: input until the fonts are here
// (the logo plays on), every step while a picture the look-ahead named is
// coming.
WebWindow::Hold WhatWaits(WebSession& s) {
  if (s.pictures.Waiting()) return WebWindow::Hold::kAll;
  if (!s.text.Ready()) return WebWindow::Hold::kInput;
  return WebWindow::Hold::kNone;
}

void Start(WebSession& s) {
  s.window.SetHold([&s] { return WhatWaits(s); });
  ClaimSingleInstance(s.files, s.paths.dataRoot, s.lock);
  FinishCutShortImport(s.paths.dataRoot, std::cerr);
  OnSavesSyncFailure([&s](bool reading, const std::string& reason) {
    if (reading)
      s.boxes.ShowMessage(Ui(UiText::browser_saves_unreadable) + "\n" + reason + "\n" +
                          Ui(UiText::browser_saves_not_kept));
    else
      s.boxes.ShowMessage(Ui(UiText::browser_saves_unwritable) + "\n" + reason);
  });
  if (!TellStartUpProblems(s.files, s.paths, s.fontProblem, s.boxes, std::cerr)) {
    ShowBoxesThen(s, [] { TellPage("stopped"); });
    return;
  }
  ShowBoxesThen(s, [&s] { Play(s); });
}

}  // namespace
}  // namespace pelmot

int main() {
  pelmot::session = new pelmot::WebSession;
  pelmot::Start(*pelmot::session);
  return 0;
}

// The test hook: the game's state as the headless `state` command prints it
// (null before the game plays). LastMessage is the text of the message box
// on screen, null while none is open.
PELMOT_WEB_EXPORT const char* pelmot_state() {
  static std::string json;
  json = "null";
  if (pelmot::session && pelmot::session->game) {
    const pelmot::GameHost& host = pelmot::session->game->host();
    json = pelmot::StateJson(host, host.OpenBoxText());
  }
  return json.c_str();
}

// Pictures presented so far.
PELMOT_WEB_EXPORT double pelmot_frames() {
  return pelmot::session ? static_cast<double>(pelmot::session->window.FramesShown()) : 0;
}

// The page is hidden or closed: the last-play stamp is written as the
// game's quit writes it (the page may never come back).
PELMOT_WEB_EXPORT void pelmot_page_hidden() {
  if (pelmot::session && pelmot::session->playing) pelmot::WriteLastPlayStamp(pelmot::session->game->game());
}

// Where a player presses for row `row` of the choice or menu on screen, in
// client pixels, as y * 10000 + x; -1 when nothing waits for a pick there.
// Tests click there with the browser's own mouse events.
PELMOT_WEB_EXPORT int pelmot_pick_point(int row) {
  if (!pelmot::session || !pelmot::session->playing) return -1;
  const pelmot::Game& game = pelmot::session->game->game();
  if (game.state.ClickAdvances || !game.form.MainPic.enabled) return -1;
  const auto p = pelmot::PickPoint(game, row);
  if (!p) return -1;
  return (game.form.MainPic.top + p->y) * 10000 + game.form.MainPic.left + p->x;
}
