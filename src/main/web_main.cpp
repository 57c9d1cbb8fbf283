// pelmot in a browser page. The page's script (web_page.js) takes the tab's
// lock on the saves and loads them from IndexedDB, then calls main, which
// sets the game up and hands it to the browser's frame loop and returns.
// The game lives on the heap for the page's lifetime.
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "app/game_host.h"
#include "app/state_json.h"
#include "app/story_setup.h"
#include "flow/pick.h"
#include "game/dialog_queue.h"
#include "game/game.h"
#include "persist/data_files.h"
#include "platform/common/clock.h"
#include "platform/common/mci_player.h"
#include "platform/common/picload.h"
#include "platform/common/text_factory.h"
#include "platform/web/page_lock.h"
#include "platform/web/web_codepage.h"
#include "platform/web/web_page.h"
#include "platform/web/web_paths.h"
#include "platform/web/web_storage.h"
#include "platform/web/web_window.h"
#include "shell/movie.h"
#include "shell/screen.h"
#include "shell/startup.h"
#include "shell/startup_checks.h"

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
  PngPictureLoader pictures;
  std::string fontProblem;
  std::unique_ptr<TextEngine> text = MakeWindowFont(&fontProblem);
  DialogQueue boxes{text.get()};
  MciPlayer multimedia{boxes, [this] { return steady.NowMs(); }};
  Services services{clock, boxes, window, multimedia, pictures, *text, files, codePage, lock, steady};
  GamePaths paths{std::string(kWebDataRoot), std::string(kWebContentFolder)};
  std::unique_ptr<Game> game;
  std::unique_ptr<GameHost> host;
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
  s.game = std::make_unique<Game>(s.services, s.paths);
  s.multimedia.AttachWindow(kMainPicHandle, s.game->form.MainPic);
  std::ostringstream problems;
  if (!InstallStory(*s.game, problems)) {
    std::cerr << problems.str();
    s.boxes.ShowMessage("シナリオに問題があるため、ゲームを始められません。\n" + ScenarioPath(s.paths.content));
    ShowBoxesThen(s, [] { TellPage("stopped"); });
    return;
  }
  StartUp(*s.game);
  AfterEvent(*s.game);
  s.host = std::make_unique<GameHost>(*s.game, &s.boxes, &s.multimedia);
  s.playing = true;
  s.window.Run(*s.host, [&s] {
    s.playing = false;
    TellPage("ended");
  });
  TellPage("playing");
}

void Start(WebSession& s) {
  ClaimSingleInstance(s.files, s.paths.dataRoot, s.lock);
  OnSavesSyncFailure([&s](bool reading, const std::string& reason) {
    if (reading)
      s.boxes.ShowMessage("ブラウザのセーブデータを読み込めませんでした。\n" + reason +
                          "\nこのページで遊んだ内容は保存されません。");
    else
      s.boxes.ShowMessage("セーブデータをブラウザに保存できませんでした。\n" + reason);
  });
  if (!s.fontProblem.empty()) TellProblem(NoFont(s.fontProblem), s.boxes, std::cerr);
  if (auto missing = MissingContentFolder(s.files, s.paths.content)) {
    TellProblem(*missing, s.boxes, std::cerr);
    ShowBoxesThen(s, [] { TellPage("stopped"); });
    return;
  }
  if (auto unusable = UnusableDataFolder(s.files, s.paths.dataRoot)) TellProblem(*unusable, s.boxes, std::cerr);
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
    const pelmot::DialogQueue& boxes = pelmot::session->boxes;
    json = pelmot::StateJson(*pelmot::session->game,
                             boxes.Open() ? std::optional<std::string>(boxes.FrontText()) : std::nullopt);
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
  if (pelmot::session && pelmot::session->playing) pelmot::WriteLastPlayStamp(*pelmot::session->game);
}

// Where a player presses for row `row` of the choice or menu on screen, in
// client pixels, as y * 10000 + x; -1 when nothing waits for a pick there.
// Tests click there with the browser's own mouse events.
PELMOT_WEB_EXPORT int pelmot_pick_point(int row) {
  if (!pelmot::session || !pelmot::session->playing) return -1;
  const pelmot::Game& game = *pelmot::session->game;
  if (game.state.ClickAdvances || !game.form.MainPic.enabled) return -1;
  const auto p = pelmot::PickPoint(game, row);
  if (!p) return -1;
  return (game.form.MainPic.top + p->y) * 10000 + game.form.MainPic.left + p->x;
}
