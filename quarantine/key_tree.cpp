#include "quarantine/key_tree.h"

#include <algorithm>

namespace quarantine {
namespace {

// The registry nests keys at most 512 deep.
constexpr int kMaxDepth = 512;

class Key {
 public:
  Key(platform::WideRegistry& registry, platform::RegKey key) : registry_(registry), key_(key) {}
  ~Key() { registry_.CloseKey(key_); }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  platform::RegKey get() const { return key_; }

 private:
  platform::WideRegistry& registry_;
  platform::RegKey key_;
};

bool Capture(platform::WideRegistry& registry, platform::RegKey key, KeyNode& node, int depth) {
  if (depth > kMaxDepth) return false;
  for (std::uint32_t index = 0;; ++index) {
    KeyValue value;
    const auto status = registry.EnumValue(key, index, &value.name, &value.type, &value.data);
    if (status == platform::kErrorNoMoreItems) break;
    if (status != platform::kErrorSuccess) return false;
    node.values.push_back(std::move(value));
  }
  std::vector<std::u16string> names;
  for (std::uint32_t index = 0;; ++index) {
    std::u16string name;
    const auto status = registry.EnumKey(key, index, &name);
    if (status == platform::kErrorNoMoreItems) break;
    if (status != platform::kErrorSuccess) return false;
    names.push_back(std::move(name));
  }
  for (const std::u16string& name : names) {
    platform::RegKey opened = 0;
    // A link below is kept as a link, never entered.
    if (registry.OpenKeyNoFollow(key, name, platform::kKeyRead, &opened) !=
        platform::kErrorSuccess) {
      return false;
    }
    Key subkey(registry, opened);
    KeyNode child;
    child.name = name;
    if (!Capture(registry, subkey.get(), child, depth + 1)) return false;
    node.subkeys.push_back(std::move(child));
  }
  return true;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutName(std::vector<std::uint8_t>& out, const std::u16string& name) {
  PutU32(out, static_cast<std::uint32_t>(name.size()));
  for (const char16_t unit : name) {
    out.push_back(static_cast<std::uint8_t>(unit));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
}

void Encode(const KeyNode& node, std::vector<std::uint8_t>& out) {
  out.push_back('K');
  PutName(out, node.name);
  for (const KeyValue& value : node.values) {
    out.push_back('V');
    PutName(out, value.name);
    PutU32(out, value.type);
    PutU32(out, static_cast<std::uint32_t>(value.data.size()));
    out.insert(out.end(), value.data.begin(), value.data.end());
  }
  for (const KeyNode& child : node.subkeys) Encode(child, out);
  out.push_back('E');
}

class Decoder {
 public:
  explicit Decoder(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  bool Key(KeyNode& node, int depth) {
    if (depth > kMaxDepth || !Tag('K') || !Name(node.name)) return false;
    while (pos_ < bytes_.size()) {
      const std::uint8_t tag = bytes_[pos_];
      if (tag == 'E') {
        ++pos_;
        return true;
      }
      if (tag == 'V') {
        ++pos_;
        KeyValue value;
        std::uint32_t size = 0;
        if (!Name(value.name) || !U32(value.type) || !U32(size) || size > Left()) return false;
        value.data.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                          bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + size));
        pos_ += size;
        node.values.push_back(std::move(value));
      } else if (tag == 'K') {
        node.subkeys.emplace_back();
        if (!Key(node.subkeys.back(), depth + 1)) return false;
      } else {
        return false;
      }
    }
    return false;
  }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  std::size_t Left() const { return bytes_.size() - pos_; }
  bool Tag(std::uint8_t tag) {
    if (Left() < 1 || bytes_[pos_] != tag) return false;
    ++pos_;
    return true;
  }
  bool U32(std::uint32_t& value) {
    if (Left() < 4) return false;
    value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{bytes_[pos_ + i]} << (8 * i);
    pos_ += 4;
    return true;
  }
  bool Name(std::u16string& name) {
    std::uint32_t units = 0;
    if (!U32(units) || units > Left() / 2) return false;
    name.resize(units);
    for (std::uint32_t i = 0; i < units; ++i) {
      name[i] = static_cast<char16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
      pos_ += 2;
    }
    return true;
  }

  const std::vector<std::uint8_t>& bytes_;
  std::size_t pos_ = 0;
};

std::int32_t Write(platform::WideRegistry& registry, platform::RegKey key, const KeyNode& node) {
  for (const KeyValue& value : node.values) {
    const auto status = registry.SetValue(key, value.name, value.type, value.data.data(),
                                          static_cast<std::uint32_t>(value.data.size()));
    if (status != platform::kErrorSuccess) return status;
  }
  for (const KeyNode& child : node.subkeys) {
    platform::RegKey created = 0;
    auto status = registry.CreateKey(key, child.name, platform::kKeyAllAccess, &created);
    if (status != platform::kErrorSuccess) return status;
    Key subkey(registry, created);
    status = Write(registry, subkey.get(), child);
    if (status != platform::kErrorSuccess) return status;
  }
  return platform::kErrorSuccess;
}

bool SameName(const std::u16string& a, const std::u16string& b) {
  const auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) {
           return fold(x) == fold(y);
         });
}

// The last part of `path` as the registry spells it (a finding arrives
// upper-cased); the part itself when its parent does not list it.
std::u16string StoredName(platform::WideRegistry& registry, platform::RegKey root,
                          const std::u16string& path) {
  const auto cut = path.find_last_of(u'\\');
  const std::u16string last = cut == std::u16string::npos ? path : path.substr(cut + 1);
  platform::RegKey opened = 0;
  if (registry.OpenKey(root, cut == std::u16string::npos ? u"" : path.substr(0, cut),
                       platform::kKeyRead, &opened) != platform::kErrorSuccess) {
    return last;
  }
  Key parent(registry, opened);
  std::u16string name;
  for (std::uint32_t index = 0;
       registry.EnumKey(parent.get(), index, &name) == platform::kErrorSuccess; ++index) {
    if (SameName(name, last)) return name;
  }
  return last;
}

}  // namespace

std::optional<KeyNode> CaptureKeyTree(platform::WideRegistry& registry, platform::RegKey root,
                                      const std::u16string& path) {
  platform::RegKey opened = 0;
  if (registry.OpenKeyNoFollow(root, path, platform::kKeyRead, &opened) !=
      platform::kErrorSuccess) {
    return std::nullopt;
  }
  Key key(registry, opened);
  KeyNode tree;
  if (!Capture(registry, key.get(), tree, 0)) return std::nullopt;
  tree.name = StoredName(registry, root, path);
  return tree;
}

std::vector<std::uint8_t> EncodeKeyTree(const KeyNode& tree) {
  std::vector<std::uint8_t> out;
  Encode(tree, out);
  return out;
}

std::optional<KeyNode> DecodeKeyTree(const std::vector<std::uint8_t>& bytes) {
  Decoder decoder(bytes);
  KeyNode tree;
  if (!decoder.Key(tree, 0) || !decoder.AtEnd()) return std::nullopt;
  return tree;
}

std::int32_t WriteKeyTree(platform::WideRegistry& registry, platform::RegKey root,
                          const std::u16string& path, const KeyNode& tree) {
  // A new key gets the name it had, not the finding's spelling of it.
  std::u16string spelled = path;
  const auto cut = path.find_last_of(u'\\');
  if (SameName(tree.name, cut == std::u16string::npos ? path : path.substr(cut + 1))) {
    spelled = (cut == std::u16string::npos ? u"" : path.substr(0, cut + 1)) + tree.name;
  }
  platform::RegKey created = 0;
  const auto status = registry.CreateKey(root, spelled, platform::kKeyAllAccess, &created);
  if (status != platform::kErrorSuccess) return status;
  Key key(registry, created);
  return Write(registry, key.get(), tree);
}

}  // namespace quarantine
