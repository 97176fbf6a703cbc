// SPDX-License-Identifier: GPL-3.0-or-later
// Output to a file descriptor that remembers why it failed. The standard streams lose the
// reason: by the time a failed stream is looked at, errno has long been overwritten (writing
// to the error stream flushes the output stream first), so "No space left on device" became
// a bare "cannot write". This buffer keeps the errno of the first write that failed and
// refuses everything after it.
#pragma once

#include <array>
#include <streambuf>

namespace integral {

// What a stream buffer that can say why it failed offers; runTableCommand asks for it.
class ReportsWriteError {
  public:
    virtual ~ReportsWriteError() = default;
    // The errno of the first failed write; 0 while every write succeeded.
    virtual int writeError() const = 0;
};

class FileOutput : public std::streambuf, public ReportsWriteError {
  public:
    explicit FileOutput(int descriptor);
    ~FileOutput() override;
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    int writeError() const override { return error_; }

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    bool drain();

    int descriptor_;
    int error_ = 0;
    std::array<char, 8192> buffer_;
};

}  // namespace integral
