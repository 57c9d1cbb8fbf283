// What the layers above the game keep for one game, each in a type of its
// own: the game holds the parts without knowing their types, so it depends
// on none of those layers. A layer reaches its part through a function of
// its own (Scenes, KnownTextPage).
#pragma once

#include <memory>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

namespace pelmot {

class GameParts {
 public:
  // The part of type T, made (value-initialised) on first use.
  template <class T>
  T& Get() {
    if (T* part = Find<T>()) return *part;
    auto made = std::make_shared<T>();
    T& part = *made;
    parts_.emplace_back(typeid(T), std::move(made));
    return part;
  }

  // The part of type T, or null when none has been made.
  template <class T>
  T* Find() {
    for (auto& [type, part] : parts_)
      if (type == typeid(T)) return static_cast<T*>(part.get());
    return nullptr;
  }
  template <class T>
  const T* Find() const {
    return const_cast<GameParts*>(this)->Find<T>();
  }

 private:
  // A handful at most: a list is quicker to search than a map.
  std::vector<std::pair<std::type_index, std::shared_ptr<void>>> parts_;
};

}  // namespace pelmot
