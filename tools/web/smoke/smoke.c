/* Links every library of the web dependency cache and uses each a little:
   SDL2's core, a PNG written and read back through SDL2_image (libpng and
   zlib both ways), a glyph rendered by FreeType, and the logo movie's codec
   and container found (and the movie decoded when one is given).
   Usage: smoke.js FONT [MOVIE]. Prints OK when all of it works. */
#include <SDL.h>
#include <SDL_image.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <stdio.h>
#include <string.h>

static int fail(const char* what, const char* detail) {
  printf("FAIL: %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
  return 0;
}

static int check_sdl(void) {
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return fail("SDL_Init", SDL_GetError());
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i)
    if (strcmp(SDL_GetVideoDriver(i), "emscripten") == 0) return 1;
  return fail("no emscripten video driver in SDL", NULL);
}

static Uint32 pixel_at(SDL_Surface* s, int x, int y) {
  return ((const Uint32*)((const Uint8*)s->pixels + y * s->pitch))[x];
}

static int round_trip_png(SDL_Surface* picture, Uint8* buffer, size_t size) {
  SDL_RWops* out = SDL_RWFromMem(buffer, (int)size);
  if (IMG_SavePNG_RW(picture, out, 0) != 0) return fail("IMG_SavePNG_RW", IMG_GetError());
  Sint64 written = SDL_RWtell(out);
  SDL_RWclose(out);
  SDL_Surface* loaded = IMG_Load_RW(SDL_RWFromConstMem(buffer, (int)written), 1);
  if (!loaded) return fail("IMG_Load_RW", IMG_GetError());
  SDL_Surface* back = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  int same = back && back->w == picture->w && back->h == picture->h &&
             pixel_at(back, 2, 1) == pixel_at(picture, 2, 1);
  SDL_FreeSurface(back);
  SDL_FreeSurface(loaded);
  return same ? 1 : fail("the PNG read back differs", NULL);
}

static int check_png(void) {
  if (!(IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG)) return fail("IMG_Init(PNG)", IMG_GetError());
  SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 5, 3, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!picture) return fail("SDL_CreateRGBSurfaceWithFormat", SDL_GetError());
  SDL_FillRect(picture, NULL, SDL_MapRGB(picture->format, 10, 200, 30));
  static Uint8 buffer[4096];
  int ok = round_trip_png(picture, buffer, sizeof buffer);
  SDL_FreeSurface(picture);
  return ok;
}

static int check_font(const char* path) {
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) != 0) return fail("FT_Init_FreeType", NULL);
  if (FT_New_Face(library, path, 0, &face) != 0) return fail("FT_New_Face", path);
  int ok = FT_Set_Pixel_Sizes(face, 0, 24) == 0 &&
           FT_Load_Char(face, 0x3042, FT_LOAD_RENDER) == 0 && face->glyph->bitmap.width > 0;
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return ok ? 1 : fail("FreeType rendered no glyph", path);
}

static int check_codec(void) {
  if (!avcodec_find_decoder(AV_CODEC_ID_MPEG4)) return fail("no MPEG-4 decoder", NULL);
  if (!av_find_input_format("avi")) return fail("no AVI demuxer", NULL);
  return 1;
}

#include "smoke_movie.h"

int main(int argc, char** argv) {
  if (argc < 2) return fail("usage: smoke.js FONT [MOVIE]", NULL), 2;
  av_log_set_level(AV_LOG_ERROR);
  int ok = check_sdl() && check_png() && check_font(argv[1]) && check_codec() &&
           (argc < 3 || check_movie(argv[2]));
  IMG_Quit();
  SDL_Quit();
  if (ok) puts("OK");
  return ok ? 0 : 1;
}
