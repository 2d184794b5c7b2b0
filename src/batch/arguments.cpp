#include "arguments.h"

#include <cerrno>
#include <cstdlib>

namespace velmont::batch {

Arguments::Arguments(const std::vector<std::string>& words, const std::set<std::string>& valued,
                     const std::set<std::string>& switches) {
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "--help" || w == "-h") {
      help_ = true;
      continue;
    }
    if (w.size() < 3 || w.compare(0, 2, "--") != 0) {
      if (w.size() > 1 && w[0] == '-') throw UsageError("unknown option " + w);
      positionals_.push_back(w);
      continue;
    }
    std::string name = w.substr(2), value;
    const size_t eq = name.find('=');
    const bool inlineValue = eq != std::string::npos;
    if (inlineValue) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    if (switches.count(name)) {
      if (inlineValue) throw UsageError("--" + name + " takes no value");
      values_[name] = "";
    } else if (valued.count(name)) {
      if (!inlineValue) {
        if (i + 1 >= words.size()) throw UsageError("--" + name + " needs a value");
        value = words[++i];
      }
      values_[name] = value;
    } else {
      throw UsageError("unknown option --" + name);
    }
  }
}

void Arguments::expectPositionals(size_t count, const std::string& what) const {
  if (positionals_.size() < count) throw UsageError("missing " + what);
  if (positionals_.size() > count) throw UsageError("unexpected argument " + positionals_[count]);
}

std::optional<std::string> Arguments::value(const std::string& option) const {
  auto it = values_.find(option);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

long long Arguments::number(const std::string& option, long long fallback, long long lo, long long hi) const {
  auto v = value(option);
  if (!v) return fallback;
  const char* begin = v->c_str();
  char* end = nullptr;
  errno = 0;
  const long long n = std::strtoll(begin, &end, 10);
  if (v->empty() || *end != '\0' || errno != 0 || n < lo || n > hi)
    throw UsageError("--" + option + " must be a whole number from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", not \"" + *v + "\"");
  return n;
}

std::vector<std::string> Arguments::list(const std::string& option) const {
  std::vector<std::string> items;
  auto v = value(option);
  if (!v) return items;
  size_t start = 0;
  while (start <= v->size()) {
    size_t comma = v->find(',', start);
    if (comma == std::string::npos) comma = v->size();
    std::string item = v->substr(start, comma - start);
    const size_t b = item.find_first_not_of(' '), e = item.find_last_not_of(' ');
    if (b != std::string::npos) items.push_back(item.substr(b, e - b + 1));
    start = comma + 1;
  }
  return items;
}

}  // namespace velmont::batch
