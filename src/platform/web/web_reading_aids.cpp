#include "platform/web/web_reading_aids.h"

#include <emscripten.h>

// The clipboard takes text only from a page that has the focus (and, in
// some browsers, only right after the player's own input): a refusal is
// quietly dropped.
EM_JS(void, pelmot_copy_text, (const char* utf8), {
  const text = UTF8ToString(utf8);
  try {
    if (navigator.clipboard && navigator.clipboard.writeText)
      navigator.clipboard.writeText(text).catch(function() {});
  } catch (e) {
  }
});

// Speaks in a voice of the language where the browser has one (its codes
// may carry a region: "ja-JP", "en_GB"); otherwise the utterance's language
// lets the browser choose.
EM_JS(void, pelmot_speak_text, (const char* utf8, const char* language), {
  if (typeof speechSynthesis === "undefined" || typeof SpeechSynthesisUtterance === "undefined") return;
  const lang = UTF8ToString(language);
  const utterance = new SpeechSynthesisUtterance(UTF8ToString(utf8));
  utterance.lang = lang;
  const wanted = lang.toLowerCase();
  const voice = speechSynthesis.getVoices().find(function(v) {
    const code = String(v.lang || "").toLowerCase().replace("_", "-");
    return code === wanted || code.startsWith(wanted + "-");
  });
  if (voice) utterance.voice = voice;
  speechSynthesis.cancel();
  speechSynthesis.speak(utterance);
});

EM_JS(void, pelmot_stop_speaking, (), {
  if (typeof speechSynthesis !== "undefined") speechSynthesis.cancel();
});

namespace pelmot {

void WebReadingAids::Copy(const std::string& utf8) { pelmot_copy_text(utf8.c_str()); }

void WebReadingAids::Speak(const std::string& utf8, const std::string& language) {
  pelmot_speak_text(utf8.c_str(), language.c_str());
}

void WebReadingAids::StopSpeaking() { pelmot_stop_speaking(); }

}  // namespace pelmot
