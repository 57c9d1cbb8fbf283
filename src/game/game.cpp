#include "game/game.h"

namespace pelmot {

Game::Game(Services& services_, GamePaths paths_, ModeTable modes_)
    : services(services_), paths(std::move(paths_)), modes(modes_) {}

Game::~Game() = default;

std::string Game::PictureFolder() const { return paths.content + "/PELMOTPIC"; }
std::string Game::SystemPictureFolder() const { return paths.content + "/SYSPIC"; }

}  // namespace pelmot
