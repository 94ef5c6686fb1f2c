#pragma once
// The page's files, read once at start and served from memory: the page itself, its
// scripts, and xterm.js with its fit addon as npm fetched them.

#include <map>
#include <string>

namespace veldra::web {

struct PageFile {
  std::string contentType;
  std::string body;
};

using PageFiles = std::map<std::string, PageFile>;  // by the path the browser asks for

// The settings file every game is started with, in the page's folder.
constexpr const char* kGameSettings = "game.toml";

// Reads every file from `folder` (web/ of the sources), and checks that the games' settings
// file is there. False with `error` naming the first file missing, and how to get it.
bool readPageFiles(const std::string& folder, PageFiles& files, std::string& error);

}  // namespace veldra::web
