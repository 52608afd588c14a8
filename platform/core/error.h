// The one error type below the component: a number, a source and a description,
// the three things the reports show in "Error" or hand on to their caller.
#pragma once

#include <stdexcept>
#include <string>

namespace plat {

class Error : public std::runtime_error {
 public:
  Error(long number, std::string source, std::string description)
      : std::runtime_error(description),
        number_(number),
        source_(std::move(source)),
        description_(std::move(description)) {}

  long number() const { return number_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }

  // Common cases, numbered as the platform's runtime numbers them.
  [[nodiscard]] static Error invalidCall(std::string source, std::string what) { return {5, std::move(source), std::move(what)}; }
  [[nodiscard]] static Error overflow(std::string source, std::string what) { return {6, std::move(source), std::move(what)}; }
  [[nodiscard]] static Error typeMismatch(std::string source, std::string what) { return {13, std::move(source), std::move(what)}; }
  [[nodiscard]] static Error notFound(std::string source, std::string what) { return {3265, std::move(source), std::move(what)}; }
  [[nodiscard]] static Error cannotCreate(std::string source, std::string what) { return {429, std::move(source), std::move(what)}; }
  [[nodiscard]] static Error database(std::string source, std::string what) { return {-2147467259, std::move(source), std::move(what)}; }

 private:
  long number_;
  std::string source_;
  std::string description_;
};

}  // namespace plat
