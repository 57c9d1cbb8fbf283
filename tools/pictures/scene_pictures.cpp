#include "scene_pictures.h"

#include <string>

namespace pelmot::pictures {
namespace {

constexpr int kW = 800, kH = 600;
constexpr int kFirstBackground = 115;
constexpr int kLastGreeting = 129;

// Hues spread by the golden angle, so neighbouring numbers look different.
double HueOf(int number) { return number * 137.508; }

void DrawTitle(Surface& s, Labeller& label) {
  VerticalGradient(s, {0, 0, kW, kH}, Rgb(12, 16, 60), Rgb(120, 40, 110));
  for (int i = 0; i < 60; ++i) FillCircle(s, (i * 211) % kW, (i * 97) % 330, 1 + i % 3, Rgb(230, 230, 255));
  Hills(s, 500, 40, 3, Rgb(30, 20, 50));
  label.Centred(s, {0, 340, kW, 130}, "PELMOT", 128, Rgb(255, 236, 170));
  label.Centred(s, {0, 480, kW, 40}, "タイトル画面　（画像 0）", 28, Rgb(235, 235, 250));
}

void DrawEvent(Surface& s, int number, Labeller& label) {
  const double hue = HueOf(number);
  VerticalGradient(s, {0, 0, kW, kH}, Hsv(hue, 0.35, 0.95), Hsv(hue + 40, 0.65, 0.45));
  FillCircle(s, 120 + (number * 53) % 560, 110 + (number * 29) % 120, 50 + number % 40, Hsv(hue + 180, 0.25, 1.0));
  Hills(s, 470, 50, number, Hsv(hue + 20, 0.55, 0.35));
  Hills(s, 540, 30, number + 7, Hsv(hue + 60, 0.6, 0.22));
  Frame(s, {8, 8, kW - 16, kH - 16}, 4, Hsv(hue, 0.3, 1.0));
  label.Centred(s, {0, 120, kW, 50}, "イベント画像", 44, kWhite);
  label.Centred(s, {0, 190, kW, 220}, std::to_string(number), 200, kWhite);
}

// Morning, noon, evening and night in turn.
void DrawBackground(Surface& s, int number, Labeller& label) {
  const int index = number - 114;
  struct Sky {
    Colour top, bottom, sun;
  };
  static const Sky kSkies[4] = {{Rgb(120, 180, 240), Rgb(250, 220, 190), Rgb(255, 240, 200)},
                                {Rgb(40, 110, 220), Rgb(170, 215, 250), Rgb(255, 250, 220)},
                                {Rgb(70, 40, 110), Rgb(250, 140, 70), Rgb(255, 190, 110)},
                                {Rgb(5, 10, 40), Rgb(40, 50, 100), Rgb(235, 235, 210)}};
  const Sky& sky = kSkies[index % 4];
  VerticalGradient(s, {0, 0, kW, 420}, sky.top, sky.bottom);
  FillCircle(s, 200 + (index * 97) % 400, 150 + (index % 3) * 30, 40, sky.sun);
  const Colour ground = Hsv(HueOf(number) * 0.25 + 80, 0.45, index % 4 == 3 ? 0.25 : 0.55);
  s.FillRect(0, 420, kW, 180, ground);
  // A row of houses, different for every background.
  for (int i = 0; i < 6; ++i) {
    const int x = 30 + i * 130 + (index * 17 + i * 31) % 40, h = 60 + (index * 13 + i * 29) % 70;
    Bevel(s, {x, 420 - h, 90, h}, Hsv(HueOf(number + i), 0.3, index % 4 == 3 ? 0.35 : 0.8));
    s.FillRect(x + 30, 420 - h + 20, 24, 24, index % 4 == 3 ? Rgb(250, 220, 120) : Rgb(90, 120, 160));
  }
  if (number <= kLastGreeting)
    label.Centred(s, {200, 118, 400, 44}, "あいさつ・背景", 40, Rgb(255, 250, 200));
  else
    label.Centred(s, {200, 118, 400, 44}, "背景", 40, Rgb(255, 250, 200));
  label.Centred(s, {0, 170, kW, 150}, "背景 " + std::to_string(index), 120, kWhite);
  label.Centred(s, {0, 320, kW, 60}, "画像 " + std::to_string(number), 48, kWhite);
}

}  // namespace

Surface DrawScenePicture(int number, Labeller& label) {
  Surface s(kW, kH);
  if (number == 0)
    DrawTitle(s, label);
  else if (number >= kFirstBackground)
    DrawBackground(s, number, label);
  else
    DrawEvent(s, number, label);
  return s;
}

}  // namespace pelmot::pictures
