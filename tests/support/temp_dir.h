#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace kerfline::testing {

// A fresh directory for one test, removed with the object.
class TempDir {
public:
    TempDir()
    {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("kerfline-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The directory as the program keeps directories: with a trailing slash.
    std::string str() const { return m_path.string() + "/"; }

    std::string write(const std::string& name, const std::string& content) const
    {
        const auto file = m_path / name;
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }

private:
    std::filesystem::path m_path;
};

}  // namespace kerfline::testing
