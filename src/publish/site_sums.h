#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "media/publish_link.h"
#include "publish/publish_manifest.h"

namespace vistello {

// Called after each block read with the bytes read so far; false stops.
using SumProgress = std::function<bool(std::uint64_t read)>;

// Gives every site file its SHA-256: the cached one when the cache is of this folder and the
// file's size and modification time are as cached, else the sum of its bytes as they are read
// now. False, with the reason, when a file cannot be read or `progress` stops it.
bool SumSiteFiles(FileOps& files, PublishLink& link, const std::string& folder,
                  const LocalManifest& cache, std::vector<SiteFile>& site,
                  const SumProgress& progress, std::string& failure);

// The SHA-256 of a file's bytes; empty, with errno set, when it cannot be read, or ECANCELED
// when `block`, told of each block read, answers false.
std::string SumOfFile(FileOps& files, PublishLink& link, const std::string& path,
                      const std::function<bool(std::size_t)>& block = {});

}  // namespace vistello
