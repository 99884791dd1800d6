// velta-solve: a beam search for an input script that clears a stage.
//
//   velta-solve [--beam W] [--max-frames N] [--prefix SCRIPT] [--allow-hits]
//               [--game-folder DIR] <stage file> <stage index>
//
// Every candidate is a live game process: after each move of eight frames a
// process reports where the player stands and waits; the search keeps the
// furthest few, and each kept process forks one child per move to try. No
// frame is played twice. The script found (the prefix, if any, and the moves)
// is printed on stdout; velta-replay then checks it the usual way. A candidate
// that gets hurt is dropped like one that dies (unless --allow-hits): the
// damage a stage leaves stays with the player into the next one.
#include "solver_protocol.h"

#include "replay/replay_runner.h"
#include "world/player.h"
#include "world/world.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr char EXPAND = 'e';
constexpr char EXIT = 'x';

struct Settings {
    std::string gameFolder;
    std::string stageFile;
    int stageIndex = 0;
    int beam = 16;
    int maxFrames = 6000;
    bool allowHits = false;
    std::string prefixText;
    ReplayScript prefix;
};

sockaddr_un socketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

bool writeAll(int fd, const void* data, size_t size) {
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, next, size);
        if (n <= 0) return false;
        next += n;
        size -= size_t(n);
    }
    return true;
}

bool readAll(int fd, void* data, size_t size) {
    char* next = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, next, size);
        if (n <= 0) return false;
        next += n;
        size -= size_t(n);
    }
    return true;
}

// ---- A game process ----

class Worker {
  public:
    Worker(const Settings& settings, std::string socketPath)
        : settings_(settings), socketPath_(std::move(socketPath)) {}

    [[noreturn]] void run() {
        ReplayOptions options;
        options.gameFolder = settings_.gameFolder;
        options.stageFile = settings_.stageFile;
        options.stageIndex = settings_.stageIndex;
        options.frames = settings_.maxFrames;
        options.script = settings_.prefix;
        const int prefixEnd = settings_.prefix.lastFrame() + 1;
        firstMoveFrame_ = (prefixEnd + CHUNK_FRAMES - 1) / CHUNK_FRAMES * CHUNK_FRAMES;
        if (firstMoveFrame_ == 0) firstMoveFrame_ = CHUNK_FRAMES; // the first chunk holds nothing
        options.afterFrame = [&](int frame) { afterFrame(options.script, frame); };
        runReplay(options);
        report(/*dead=*/true, false, settings_.maxFrames);
        _exit(0);
    }

  private:
    void afterFrame(ReplayScript& script, int frame) {
        const bool hurt = !settings_.allowHits && player.damage > 0;
        const bool dead = world.dyingFlag != 0 || hurt;
        const bool goal = world.clearedFlag != 0;
        if (dead || goal) {
            report(dead, goal, frame);
            _exit(0);
        }
        if ((frame + 1) % CHUNK_FRAMES != 0 || frame + 1 < firstMoveFrame_) return;
        report(false, false, frame);
        char command = EXIT;
        if (!readAll(connection_, &command, 1) || command != EXPAND) _exit(0);
        for (size_t move = 0; move < moves().size(); ++move) {
            const pid_t child = fork();
            if (child != 0) continue;
            ::close(connection_);
            connection_ = -1;
            path_.push_back(uint8_t(move));
            if (moves()[move].buttons != 0)
                script.spans.push_back({frame + 1, frame + CHUNK_FRAMES, moves()[move].buttons});
            return; // this child plays the move
        }
        _exit(0);
    }

    void report(bool dead, bool goal, int frame) {
        if (connection_ < 0) {
            connection_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
            const sockaddr_un address = socketAddress(socketPath_);
            if (::connect(connection_, reinterpret_cast<const sockaddr*>(&address),
                          sizeof address) != 0)
                _exit(1);
        }
        Standing standing;
        standing.x = player.x;
        standing.y = player.y;
        standing.vx = player.vx;
        standing.vy = player.vy;
        standing.frame = frame;
        standing.airborne = player.airborne;
        standing.dead = dead;
        standing.goal = goal;
        standing.pathLength = uint32_t(path_.size());
        if (!writeAll(connection_, &standing, sizeof standing) ||
            !writeAll(connection_, path_.data(), path_.size()))
            _exit(1);
    }

    const Settings& settings_;
    std::string socketPath_;
    int connection_ = -1;
    int firstMoveFrame_ = 0;
    std::vector<uint8_t> path_;
};

// ---- The search ----

struct Candidate {
    int fd = -1;
    Standing standing;
    std::vector<uint8_t> path;
    bool keep = false;

    // Height counts for half as much as progress: a lift that carries the
    // player up is worth waiting on.
    double score() const { return standing.x - 0.5 * standing.y; }
    // Candidates that stand alike are one: the beam keeps the first.
    std::tuple<long, long, long, long, int> likeness() const {
        return {std::lround(standing.x / 3), std::lround(standing.y / 3),
                std::lround(standing.vx / 40), std::lround(standing.vy / 60), standing.airborne};
    }
};

class Search {
  public:
    Search(const Settings& settings, int listener) : settings_(settings), listener_(listener) {}

    // The moves that reach the goal; false with the furthest path otherwise.
    bool run(std::vector<uint8_t>& found, int& goalFrame) {
        std::vector<Candidate> beam = collect(1);
        double best = -1e9;
        std::vector<uint8_t> bestPath;
        while (!beam.empty()) {
            for (Candidate& c : beam) {
                if (c.standing.goal) {
                    found = c.path;
                    goalFrame = c.standing.frame;
                    dismiss(beam);
                    return true;
                }
            }
            std::erase_if(beam, [&](Candidate& c) {
                if (!c.standing.dead) return false;
                ::close(c.fd);
                return true;
            });
            // Reports come in any order: ties go to the path of the earlier
            // moves (dashing before jumping), so the search is repeatable.
            std::sort(beam.begin(), beam.end(), [](const Candidate& a, const Candidate& b) {
                if (a.score() != b.score()) return a.score() > b.score();
                return a.path < b.path;
            });
            // Half the beam goes to the furthest candidates, half to the
            // furthest standing on something: a jump that looks far ahead may
            // be a fall, and riding a lift means waiting.
            std::vector<Candidate> kept, dropped;
            std::map<std::tuple<long, long, long, long, int>, bool> seen;
            int marked = 0;
            for (Candidate& c : beam) {
                if (marked >= settings_.beam / 2) break;
                if (c.standing.airborne || !seen.emplace(c.likeness(), true).second) continue;
                c.keep = true;
                ++marked;
            }
            for (Candidate& c : beam) {
                if (marked >= settings_.beam) break;
                if (c.keep || !seen.emplace(c.likeness(), true).second) continue;
                c.keep = true;
                ++marked;
            }
            for (Candidate& c : beam) // still in score order
                (c.keep ? kept : dropped).push_back(std::move(c));
            dismiss(dropped);
            if (kept.empty()) break;
            if (kept.front().score() > best) {
                best = kept.front().score();
                bestPath = kept.front().path;
            }
            std::fprintf(stderr, "\rframe %5d  x %7.1f  beam %2zu ", kept.front().standing.frame,
                         kept.front().standing.x, kept.size());
            if (kept.front().standing.frame >= settings_.maxFrames - CHUNK_FRAMES) {
                dismiss(kept);
                break;
            }
            for (Candidate& c : kept) {
                writeAll(c.fd, &EXPAND, 1);
                ::close(c.fd);
            }
            beam = collect(kept.size() * moves().size());
        }
        std::fprintf(stderr, "\n");
        found = bestPath;
        return false;
    }

  private:
    std::vector<Candidate> collect(size_t count) {
        std::vector<Candidate> reports;
        while (reports.size() < count) {
            pollfd wait{listener_, POLLIN, 0};
            if (::poll(&wait, 1, 60000) <= 0) break; // a process was lost
            const int fd = ::accept(listener_, nullptr, nullptr);
            if (fd < 0) continue;
            Candidate c;
            c.fd = fd;
            if (!readAll(fd, &c.standing, sizeof c.standing)) {
                ::close(fd);
                continue;
            }
            c.path.resize(c.standing.pathLength);
            if (!c.path.empty() && !readAll(fd, c.path.data(), c.path.size())) {
                ::close(fd);
                continue;
            }
            reports.push_back(std::move(c));
        }
        return reports;
    }

    static void dismiss(std::vector<Candidate>& candidates) {
        for (Candidate& c : candidates) {
            writeAll(c.fd, &EXIT, 1);
            ::close(c.fd);
        }
        candidates.clear();
    }

    const Settings& settings_;
    int listener_;
};

int usage() {
    std::cerr << "usage: velta-solve [--beam W] [--max-frames N] [--prefix SCRIPT] [--allow-hits]\n"
                 "                   [--game-folder DIR] <stage file> <stage index>\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    Settings settings;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--beam" && i + 1 < argc)
            settings.beam = std::atoi(argv[++i]);
        else if (a == "--max-frames" && i + 1 < argc)
            settings.maxFrames = std::atoi(argv[++i]);
        else if (a == "--allow-hits")
            settings.allowHits = true;
        else if (a == "--game-folder" && i + 1 < argc)
            settings.gameFolder = argv[++i];
        else if (a == "--prefix" && i + 1 < argc) {
            std::ifstream in(argv[++i]);
            std::ostringstream text;
            text << in.rdbuf();
            settings.prefixText = text.str();
            std::string error;
            if (!in || !parseReplayScript(settings.prefixText, settings.prefix, error)) {
                std::cerr << "velta-solve: the prefix: " << error << "\n";
                return 2;
            }
        } else
            rest.push_back(a);
    }
    if (rest.size() != 2 || settings.beam < 1) return usage();
    settings.stageFile = rest[0];
    settings.stageIndex = std::atoi(rest[1].c_str());
    if (settings.gameFolder.empty())
        settings.gameFolder =
            fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "dist";
    settings.gameFolder = fs::absolute(settings.gameFolder);

    const std::string socketPath = "/tmp/velta-solve-" + std::to_string(getpid()) + ".sock";
    ::unlink(socketPath.c_str());
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = socketAddress(socketPath);
    if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 4096) != 0) {
        std::perror("velta-solve: socket");
        return 1;
    }
    // The game processes are orphaned as the search goes: they are reaped here.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    signal(SIGCHLD, SIG_IGN);
    signal(SIGPIPE, SIG_IGN);

    const pid_t root = fork();
    if (root == 0) {
        ::close(listener);
        Worker(settings, socketPath).run();
    }
    Search search(settings, listener);
    std::vector<uint8_t> path;
    int goalFrame = -1;
    const bool solved = search.run(path, goalFrame);
    ::close(listener);
    ::unlink(socketPath.c_str());

    const int prefixEnd = settings.prefix.lastFrame() + 1;
    int firstMove = (prefixEnd + CHUNK_FRAMES - 1) / CHUNK_FRAMES * CHUNK_FRAMES;
    if (firstMove == 0) firstMove = CHUNK_FRAMES;
    std::cout << "# "
              << (solved ? "reaches the goal at frame " + std::to_string(goalFrame)
                         : std::string("does not reach the goal: the furthest try"))
              << "\n"
              << settings.prefixText << scriptText(path, firstMove);
    return solved ? 0 : 1;
}
