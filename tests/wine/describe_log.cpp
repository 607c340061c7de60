// Turns the observer's log into lines a person reads: keys by the names the
// editor gives them, mouse buttons and moves in words, reports numbered.
// Usage: describe LOGFILE   (a console program, run under Wine by the demo)
#include <cstdio>
#include <cstring>

#include "config/vocabulary.h"

namespace {

bool shiftDown;

// Letters reach the system as the capital's key either way; whether Shift
// was down tells the two codes of the vocabulary apart.
const char* KeyName(unsigned vk, char* buffer, size_t size)
{
    int32_t code = int32_t(vk);
    if (vk >= 'A' && vk <= 'Z' && !shiftDown) code += 256;
    if (const KeyChoice* choice = FindKeyChoice(code)) return choice->text;
    std::snprintf(buffer, size, "virtual key %u", vk);
    return buffer;
}

void DescribeKey(const char* line)
{
    char phase[8] = {};
    unsigned vk = 0, scan = 0;
    int extended = 0;
    if (std::sscanf(line, "key %7s vk=%u scan=%u ext=%d", phase, &vk, &scan, &extended) != 4) return;
    const bool down = std::strcmp(phase, "down") == 0;
    char buffer[32];
    const char* name = KeyName(vk, buffer, sizeof buffer);
    std::printf("  %-9s %s\n", down ? "key down" : "key up", name);
    if (vk == 16 || vk == 160 || vk == 161) shiftDown = down;
}

void DescribeMouse(const char* line)
{
    int dx = 0, dy = 0;
    if (std::sscanf(line, "mouse move dx=%d dy=%d", &dx, &dy) == 2) {
        std::printf("  mouse     move by %+d, %+d\n", dx, dy);
        return;
    }
    char wheel[8] = {};
    int delta = 0;
    if (std::sscanf(line, "mouse %7s delta=%d", wheel, &delta) == 2) {
        const bool vertical = std::strcmp(wheel, "wheel") == 0;
        const char* name = vertical ? (delta > 0 ? "wheel up" : "wheel down") : (delta > 0 ? "wheel right" : "wheel left");
        std::printf("  mouse     %s (%+d)\n", name, delta);
        return;
    }
    static const struct {
        const char* logged;
        const char* said;
    } kButtons[] = {{"leftdown", "left button down"},     {"leftup", "left button up"},
                    {"middledown", "middle button down"}, {"middleup", "middle button up"},
                    {"rightdown", "right button down"},   {"rightup", "right button up"}};
    for (const auto& button : kButtons) {
        if (std::strcmp(line + 6, button.logged) == 0) std::printf("  mouse     %s\n", button.said);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: describe LOGFILE\n");
        return 2;
    }
    FILE* log = std::fopen(argv[1], "r");
    if (log == nullptr) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    char line[512];
    while (std::fgets(line, sizeof line, log) != nullptr) {
        line[std::strcspn(line, "\r\n")] = '\0';
        unsigned port = 0, report = 0;
        if (std::strncmp(line, "key ", 4) == 0) {
            DescribeKey(line);
        } else if (std::strncmp(line, "mouse ", 6) == 0) {
            DescribeMouse(line);
        } else if (std::sscanf(line, "joystick read port=%u report=%u", &port, &report) == 2) {
            std::printf("joystick %u, report %u%s\n", port + 1, report,
                        std::strstr(line, " lost") != nullptr ? ": joystick not answering" : "");
        } else if (std::strncmp(line, "box ", 4) == 0) {
            std::printf("message   %s\n", line + 4);
        } else if (std::strncmp(line, "joystick release ", 17) == 0) {
            std::printf("joystick released, port %c\n", line[22] == '0' ? '1' : '2');
        }
    }
    std::fclose(log);
    return 0;
}
