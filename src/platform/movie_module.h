// The plain-C boundary between the program and its movie module, which holds
// the FFmpeg decoder. FFmpeg's libraries pull in about a hundred more shared
// libraries; kept in a module of their own they are loaded only while a movie
// plays, not at every start of the program.
#pragma once

#include <cstdint>

extern "C" {

constexpr int kPelmotMovieAbi = 1;

struct PelmotMovieFunctions {
  int abi;  // kPelmotMovieAbi
  // A movie handle, or null with a reason in `error`.
  void* (*open)(const char* path, char* error, int errorSize);
  void (*close)(void* movie);
  int (*width)(void* movie);
  int (*height)(void* movie);
  double (*frameRate)(void* movie);
  // 1: the next picture is in `pixels` (width x height words 0x00RRGGBB) and
  // its time in `timeMs`; 0: the end; -1: a damaged picture, `error` says why.
  int (*next)(void* movie, std::uint32_t* pixels, std::int64_t* timeMs, char* error, int errorSize);
};

// The one symbol the module exports.
const PelmotMovieFunctions* pelmot_movie_functions();
using PelmotMovieEntry = const PelmotMovieFunctions* (*)();

}  // extern "C"

// The module's file name.
inline constexpr const char* kPelmotMovieModule = "pelmot_movie.so";
