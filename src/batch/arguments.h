#pragma once
// The words after a command: positional arguments and "--name value" options,
// checked against what the command accepts.
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmont::batch {

// A wrong or missing argument; the message is the one line shown to the user.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Arguments {
 public:
  // Splits `words` into positionals and options; every option takes a value,
  // given as "--name value" or "--name=value", except the switches named in
  // `switches`. "--help" is noted, never an error. Throws UsageError for an
  // option outside `valued` and `switches`, or one without its value.
  Arguments(const std::vector<std::string>& words, const std::set<std::string>& valued,
            const std::set<std::string>& switches = {});

  bool helpAsked() const { return help_; }
  const std::vector<std::string>& positionals() const { return positionals_; }
  // Throws UsageError unless there are exactly `count` positionals.
  void expectPositionals(size_t count, const std::string& what) const;

  bool has(const std::string& option) const { return values_.count(option) != 0; }
  std::optional<std::string> value(const std::string& option) const;
  // The option's value as a whole number within [lo, hi], or `fallback` when absent.
  long long number(const std::string& option, long long fallback, long long lo, long long hi) const;
  // The option's value split at commas, blanks trimmed, empty items dropped.
  std::vector<std::string> list(const std::string& option) const;

 private:
  std::vector<std::string> positionals_;
  std::map<std::string, std::string> values_;
  bool help_ = false;
};

}  // namespace velmont::batch
