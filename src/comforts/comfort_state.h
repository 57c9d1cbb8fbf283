// What the player's comforts keep for one game.
#pragma once

#include "comforts/author_overlay.h"
#include "comforts/auto_forward.h"
#include "comforts/backlog.h"
#include "comforts/corner_line.h"
#include "comforts/history.h"
#include "comforts/keyboard.h"
#include "comforts/language.h"
#include "comforts/read_record.h"
#include "comforts/route_chart.h"
#include "comforts/route_record.h"
#include "comforts/save_preview.h"
#include "comforts/settings.h"
#include "comforts/settings_screen.h"
#include "comforts/typewriter.h"

namespace pelmot {

struct ComfortState {
  Settings settings;
  ReadRecord read;
  bool readRecordWritable = true;
  // Lines were read since the record was last written: it is written once
  // skipping pauses, not at every line a skip runs through.
  bool readRecordDue = false;
  History history;
  Backlog backlog;
  RouteChart routeChart;
  RouteRecord routes;
  bool routesWritable = true;
  // End was pressed: skipping goes on, past the scenes' ends, to the next
  // choice.
  bool skipToChoice = false;
  AutoForward autoForward;
  SettingsScreen settingsScreen;
  KeyboardFocus keyboardFocus;
  CornerLine cornerLine;
  Typewriter typewriter;
  SavePreview savePreview;
  LanguageState language;
  // Skipping stopped at an unread line: a held skip key's repeats are
  // ignored until the key is pressed anew.
  bool skipStoppedAtUnread = false;
  AuthorOverlay author;
};

}  // namespace pelmot
