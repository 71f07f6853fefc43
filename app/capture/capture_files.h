#pragma once
#include <string>

// An output written under a temporary name beside its final one and renamed
// into place only when complete. Until then the partial file is removed on
// failure, at process exit and on SIGINT or SIGTERM, so no half-written
// output is ever left behind.
class PartialFile {
public:
    explicit PartialFile(const std::string& finalPath);
    ~PartialFile();  // removes the partial file unless committed
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::string& path() const { return partPath_; }  // where to write
    const std::string& finalPath() const { return finalPath_; }
    bool commit(std::string& error);                       // renames into place
    void discard();

private:
    void release();

    std::string finalPath_;
    std::string partPath_;
    int slot_;
    bool pending_ = true;  // written or being written, not yet renamed
};

// Ends the process on SIGINT or SIGTERM after removing the partial files.
void removePartialFilesOnSignals();
