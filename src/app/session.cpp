#include "app/session.h"

#include <algorithm>
#include <iostream>

#include <ostream>

#include "app/story_setup.h"
#include "app/warp.h"
#include "comforts/language.h"
#include "flow/mode_units.h"
#include "game/dialog_queue.h"
#include "platform/ui_text.h"
#include "shell/movie.h"
#include "shell/screen.h"
#include "shell/startup.h"
#include "shell/startup_checks.h"

namespace pelmot {

bool TellStartUpProblems(Files& files, const GamePaths& paths, const std::string& fontProblem, Dialogs& dialogs,
                         std::ostream& err, const std::function<void(const StartUpProblem&)>& tellFont) {
  if (!fontProblem.empty()) {
    if (tellFont)
      tellFont(NoFont(fontProblem));
    else
      TellProblem(NoFont(fontProblem), dialogs, err);
  }
  if (auto missing = MissingContentFolder(files, paths.content)) {
    TellProblem(*missing, dialogs, err);
    return false;
  }
  if (auto unusable = UnusableDataFolder(files, paths.dataRoot)) TellProblem(*unusable, dialogs, err);
  return true;
}

std::string ScenarioProblemText(const std::string& contentDir, bool namesCheck) {
  std::string text = Ui(UiText::scenario_problem) + "\n" + ScenarioPath(contentDir);
  if (namesCheck) text += "\n" + Ui(UiText::scenario_check_hint);
  return text;
}

GameSession::GameSession(Services& services, GamePaths paths, SessionParts parts)
    : game_(std::make_unique<Game>(services, std::move(paths), StandardModes())),
      host_(std::make_unique<GameHost>(*game_, parts.boxes, parts.movie)) {
  game_->trace = parts.trace;
  services.multimedia.AttachWindow(kMainPicHandle, game_->form.MainPic);
  LanguageState& language = host_->comforts().State().language;
  language.catalogs = parts.catalogs;
  language.aids = parts.aids;
  language.warnings = &std::cerr;
  language.fromCommandLine = parts.language;
  host_->comforts().State().author.enabled = parts.author;
}

bool LanguageIsThere(Catalogs* catalogs, const std::string& code, std::ostream& err) {
  if (code.empty() || code == kOriginalLanguage) return true;
  LanguageState there;
  there.catalogs = catalogs;
  const std::vector<std::string> codes = LanguagesThereAre(there);
  if (IsCatalogCode(code) && std::find(codes.begin(), codes.end(), code) != codes.end()) return true;
  err << "pelmot: there is no translation \"" << code << "\" (lang/" << code << ".po); the languages there are:";
  for (const std::string& c : codes) err << " " << c;
  err << "\n";
  return false;
}

GameSession::~GameSession() = default;

bool GameSession::InstallStory(std::ostream& err) { return pelmot::InstallStory(*game_, err); }

void GameSession::Start() {
  StartUp(*game_);
  AfterEvent(*game_);
  host_->Begin();
}

bool GameSession::WarpAtStart(const std::string& place, std::ostream& err) {
  std::string problem;
  if (Warp(*host_, place, err, problem)) return true;
  err << "pelmot: cannot warp to " << place << ": " << problem << "\n";
  return false;
}

void GameSession::Finish(std::ostream& err) {
  Files& files = game_->services.files;
  files.FinishLaterWrites();
  if (auto failure = files.TakeLaterWriteFailure(); failure && !game_->seenFlagsWarned)
    err << "pelmot: cannot write the data file " << failure->path << ": " << failure->error << "\n";
}

}  // namespace pelmot
