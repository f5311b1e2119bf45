#pragma once
// A set of small images looked up by key, as the lists and the toolbar name them ("ADD", "KO",
// "NEWT"...).
#include <map>
#include <string>
#include <string_view>

#include <QIcon>

namespace tandrel {

class ImageList {
 public:
  void Add(std::string key, QIcon icon) { icons_[std::move(key)] = std::move(icon); }
  bool Exists(std::string_view key) const { return icons_.find(key) != icons_.end(); }
  // A null icon for a key the list lacks: the row shows no image rather than failing.
  QIcon Item(std::string_view key) const {
    auto it = icons_.find(key);
    return it == icons_.end() ? QIcon() : it->second;
  }
  std::size_t Count() const { return icons_.size(); }

 private:
  std::map<std::string, QIcon, std::less<>> icons_;
};

}  // namespace tandrel
