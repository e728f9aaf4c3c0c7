#ifndef SUBMISSIONS_H
#define SUBMISSIONS_H

// The submissions of a class: every folder directly under the class folder, its .c and .cpp
// files the list.

#include <filesystem>
#include <string>
#include <vector>

struct Submission {
    std::string name;                           // the folder's name
    std::filesystem::path folder;               // absolute
    std::vector<std::filesystem::path> sources; // absolute, sorted
};

// The submissions under classFolder, sorted by name (byte order); hidden folders (a name starting
// with '.') are left out. False, with the reason in error, when the folder cannot be read.
bool findSubmissions(const std::filesystem::path& classFolder, std::vector<Submission>& found,
                     std::string& error);

// The part of the sorted submissions that shard (1-based) of shards checks: consecutive runs of
// names, the first parts one longer where the count does not divide, so that the parts in order
// are the whole class in order.
std::vector<Submission> shardOf(const std::vector<Submission>& all, size_t shard, size_t shards);

// What makes two submissions the same list: every source's name and bytes and those of the
// folder's LinkedList.h. Empty when a file cannot be read or the sources are too large to be
// worth comparing.
std::string contentKey(const Submission& submission);

#endif
