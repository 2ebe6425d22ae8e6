#pragma once
// For the tests of generating and reopening declarations: a scripted user
// who answers the dialogs from queues and remembers every message and page,
// a real temporary directory that goes away with the test, and sealed texts
// of declarations and of near misses made by editing their XML.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "declaration/seal.h"
#include "declaration/user_prompts.h"

namespace f7301::testing {

struct ShownMessage {
  enum class Box { kApp, kView };
  Box box;
  std::string text;
  std::string caption;  // the application title for the application's box
};

class ScriptedPrompts : public UserPrompts {
 public:
  // Answers for the next dialogs, in order; an empty queue answers Cancel.
  std::deque<std::optional<std::string>> directoryAnswers;
  std::deque<std::optional<std::string>> fileAnswers;

  std::vector<std::string> proposals;  // what each directory dialog offered
  int fileDialogs = 0;
  std::vector<ShownMessage> messages;
  std::vector<std::string> pages;

  std::optional<std::string> ChooseDestinationDirectory(const std::string& proposal) override {
    proposals.push_back(proposal);
    return Next(directoryAnswers);
  }
  std::optional<std::string> ChooseDeclarationFile() override {
    ++fileDialogs;
    return Next(fileAnswers);
  }
  void ShowAppMessage(const std::string& text) override {
    messages.push_back({ShownMessage::Box::kApp, text, "Formulario7301"});
  }
  void ShowViewMessage(const std::string& text, const std::string& caption) override {
    messages.push_back({ShownMessage::Box::kView, text, caption});
  }
  void ShowGeneratedPage(const std::string& page) override { pages.push_back(page); }

  // The one message shown so far; fails the test when there is not exactly one.
  ShownMessage OnlyMessage() const {
    EXPECT_EQ(messages.size(), 1u);
    return messages.empty() ? ShownMessage{} : messages.back();
  }

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() /
             ("f7301-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(m_path);
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

// Every file and folder under `root`, relative and sorted ("a", "a/b", ...).
inline std::vector<std::string> Tree(const std::filesystem::path& root) {
  std::vector<std::string> entries;
  if (!std::filesystem::exists(root)) return entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    entries.push_back(entry.path().lexically_relative(root).generic_string());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

inline std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

// `xml` sealed as "Validar" seals it; fails the test when it cannot be.
inline std::string Sealed(const std::string& xml) {
  std::string sealed;
  EXPECT_TRUE(SealDeclaration(xml, sealed));
  return sealed;
}

// `text` with the first `from` replaced by `to`; fails the test when `from`
// is not there, so an edit that no longer applies does not pass unseen.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace f7301::testing
