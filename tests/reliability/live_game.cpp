// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Running the game as a child process: fork and exec with two pipes, writes and
// reads that never wait past the deadline, and the /proc reading of its memory.
#include "reliability/live_game.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace live {

namespace {

using Clock = std::chrono::steady_clock;

int milliseconds_until(Clock::time_point until) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

LiveGame::LiveGame(const std::filesystem::path& folder, const std::vector<std::string>& command,
                   const std::filesystem::path& errors_file, bool survive_file_limit) {
    // A game that stops reading must not end the test through a broken pipe.
    std::signal(SIGPIPE, SIG_IGN);
    int input[2];
    int output[2];
    if (::pipe2(input, O_CLOEXEC) != 0) return;
    if (::pipe2(output, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        return;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int errors = ::open(errors_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (errors < 0 || ::chdir(folder.c_str()) != 0 || ::dup2(input[0], 0) < 0 ||
            ::dup2(output[1], 1) < 0 || ::dup2(errors, 2) < 0)
            ::_exit(127);
        ::setenv("TMPDIR", folder.c_str(), 1);
        // Ignored signals stay ignored across exec; the game gets the usual ones.
        std::signal(SIGPIPE, SIG_DFL);
        std::signal(SIGXFSZ, survive_file_limit ? SIG_IGN : SIG_DFL);
        std::vector<char*> argv;
        for (const std::string& word : command)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    if (pid < 0) {
        ::close(input[1]);
        ::close(output[0]);
        return;
    }
    pid_ = pid;
    to_game_ = input[1];
    from_game_ = output[0];
}

LiveGame::~LiveGame() {
    if (to_game_ >= 0) ::close(to_game_);
    if (from_game_ >= 0) ::close(from_game_);
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::vector<std::string> LiveGame::headless_command(const std::string& options) {
    std::vector<std::string> command{VORPY_BINARY, "--headless"};
    std::istringstream words(options);
    for (std::string word; words >> word;)
        command.push_back(word);
    return command;
}

void LiveGame::kill_child() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
}

bool LiveGame::send(std::string_view lines) {
    script_ += lines;
    const Clock::time_point until = Clock::now() + deadline;
    while (!lines.empty()) {
        if (to_game_ < 0) return false;
        // The game's output is taken in meanwhile: a game blocked on a full output
        // pipe would never read the rest of the script.
        pollfd p[2] = {{to_game_, POLLOUT, 0}, {from_game_, POLLIN, 0}};
        const int ready = ::poll(p, from_game_ >= 0 ? 2 : 1, milliseconds_until(until));
        if (ready == 0) {
            timed_out_ = true;
            kill_child();
            return false;
        }
        if (ready < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (from_game_ >= 0 && (p[1].revents & (POLLIN | POLLHUP)) != 0 &&
            (p[0].revents & POLLOUT) == 0) {
            fill(until);
            continue;
        }
        const ssize_t written = ::write(to_game_, lines.data(), lines.size());
        if (written < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return false;  // the game has stopped reading
        }
        lines.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

LiveGame::Fill LiveGame::fill(Clock::time_point until) {
    for (;;) {
        if (from_game_ < 0) return Fill::end;
        pollfd p{from_game_, POLLIN, 0};
        const int ready = ::poll(&p, 1, milliseconds_until(until));
        if (ready == 0) {
            timed_out_ = true;
            kill_child();
            return Fill::timeout;
        }
        if (ready < 0) {
            if (errno == EINTR) continue;
            return Fill::end;
        }
        char buffer[65536];
        const ssize_t got = ::read(from_game_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ::close(from_game_);
            from_game_ = -1;
            return Fill::end;
        }
        pending_.append(buffer, static_cast<std::size_t>(got));
        return Fill::data;
    }
}

std::optional<std::string> LiveGame::read_line() {
    const Clock::time_point until = Clock::now() + deadline;
    for (;;) {
        const std::size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        if (fill(until) != Fill::data) return std::nullopt;
    }
}

std::optional<Value> LiveGame::dump_after(std::string_view lines) {
    if (!send(lines) || !send("dump\n")) return std::nullopt;
    const std::optional<std::string> line = read_line();
    if (!line) return std::nullopt;
    std::optional<Value> value = test_json::parse(*line);
    if (!value || value->kind != Value::Kind::object || !value->has("state")) return std::nullopt;
    return value;
}

void LiveGame::finish(GameRun& run) {
    if (to_game_ >= 0) {
        ::close(to_game_);
        to_game_ = -1;
    }
    const Clock::time_point until = Clock::now() + deadline;
    while (fill(until) == Fill::data) {
    }
    std::size_t start = 0;
    for (std::size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1)
        take_line(run, pending_.substr(start, end - start));
    if (start < pending_.size()) take_line(run, pending_.substr(start));
    pending_.clear();
    if (pid_ <= 0) return;
    // The output has ended; the exit itself may still take a moment (valgrind's report).
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) break;
        if (done < 0 && errno != EINTR) {
            status = -1;
            break;
        }
        if (Clock::now() > until) {
            timed_out_ = true;
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        ::usleep(2000);
    }
    pid_ = -1;
    run.status = !timed_out_ && status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

MemoryUse LiveGame::memory() const {
    MemoryUse use;
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) use.resident_kib = std::atol(line.c_str() + 6);
        if (line.rfind("VmHWM:", 0) == 0) use.peak_kib = std::atol(line.c_str() + 6);
    }
    return use;
}

bool LiveGame::limit_file_size(long bytes) const {
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    return pid_ > 0 && ::prlimit(pid_, RLIMIT_FSIZE, &limit, nullptr) == 0;
}

GameRun run_script(const std::filesystem::path& folder, const std::string& script,
                   const std::string& options, std::chrono::milliseconds deadline) {
    GameRun run;
    LiveGame game(folder, LiveGame::headless_command(options), folder / "err.txt");
    game.deadline = deadline;
    if (game.started()) {
        game.send(script);
        game.finish(run);
    }
    run.errors = scenario::read_text(folder / "err.txt");
    if (game.timed_out()) run.errors += "\n(killed: no end within the deadline)";
    return run;
}

}  // namespace live
