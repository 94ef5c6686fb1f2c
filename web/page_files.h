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

// Reads every file from `folder` (web/ of the sources). False with `error` naming the first
// file missing, and how to get it.
bool readPageFiles(const std::string& folder, PageFiles& files, std::string& error);

}  // namespace veldra::web
