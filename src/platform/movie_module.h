// The plain-C boundary between the program and its movie module, which holds
// the FFmpeg decoder. FFmpeg's libraries pull in about a hundred more shared
// libraries; kept in a module of their own they are loaded only while a movie
// plays, not at every start of the program.
#pragma once

#include <cstdint>

extern "C" {

constexpr int kPelmotMovieAbi = 2;

struct PelmotMovieFunctions {
  int abi;  // kPelmotMovieAbi
  // A movie read from `fd` (an open regular file, which the movie takes over
  // and closes, also on failure), or null with a reason in `error`.
  void* (*open)(int fd, char* error, int errorSize);
  void (*close)(void* movie);
  double (*frameRate)(void* movie);
  // 1: the next picture is decoded and held; its size (as decoded, whatever
  // the file's header said) goes to `width` and `height`, its time to
  // `timeMs`. 0: the end. -1: a damaged picture, `error` says why.
  int (*next)(void* movie, int* width, int* height, std::int64_t* timeMs, char* error, int errorSize);
  // The held picture into `pixels`, width x height words 0x00RRGGBB, scaled
  // if the held picture has another size: nothing is written outside them.
  void (*picture)(void* movie, std::uint32_t* pixels, int width, int height);
};

// The one symbol the module exports.
const PelmotMovieFunctions* pelmot_movie_functions();
using PelmotMovieEntry = const PelmotMovieFunctions* (*)();

}  // extern "C"

// The module's file name; it sits beside the program.
inline constexpr const char* kPelmotMovieModule = "pelmot_movie.so";
