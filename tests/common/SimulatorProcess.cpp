#include "tests/common/SimulatorProcess.h"

#include "tests/common/ProgramFolder.h"

#include <fstream>
#include <sstream>
#include <thread>

namespace harness {
namespace {

std::string MakePrivateFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    static unsigned counter = 0;
    const std::string folder = std::string(temp) + "vantrel-devsim-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++counter) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

SimulatorProcess::SimulatorProcess(const Setup& setup) : folder_(MakePrivateFolder()) {
    std::string command = "\"" + ProgramFolder() +
                          "vantrel-devsim.exe\" --bind 127.0.0.1 --port 0" + " --port-file \"" +
                          folder_ + "port\" --log \"" + folder_ + "log\"" + " --answer-window-ms " +
                          std::to_string(setup.answerWindowMs);
    if (!setup.extraOptions.empty())
        command += " " + setup.extraOptions;
    if (setup.generate > 0) {
        command += " --generate " + std::to_string(setup.generate);
    } else {
        std::ofstream(folder_ + "test.fleet", std::ios::binary) << setup.fleetText;
        command += " --fleet \"" + folder_ + "test.fleet\"";
    }
    // The simulator dies with the test even when the test crashes: the job
    // is closed with the test's last handle.
    job_ = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_)
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &process_)) {
        error_ = "cannot start " + command;
        return;
    }
    if (job_)
        AssignProcessToJobObject(job_, process_.hProcess);
    ResumeThread(process_.hThread);
    const std::string portFile = folder_ + "port";
    const bool up = WaitUntil(
        [&] {
            return !ReadFile(portFile).empty() ||
                   WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        },
        std::chrono::seconds(30));
    const std::string portText = ReadFile(portFile);
    if (!up || portText.empty()) {
        error_ = "simulator did not report its port: " + command;
        return;
    }
    port_ = static_cast<unsigned short>(std::stoul(portText));
}

SimulatorProcess::~SimulatorProcess() {
    if (process_.hProcess) {
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    if (job_)
        CloseHandle(job_);
    DeleteFileA((folder_ + "port").c_str());
    DeleteFileA((folder_ + "log").c_str());
    DeleteFileA((folder_ + "test.fleet").c_str());
    RemoveDirectoryA(folder_.c_str());
}

std::string SimulatorProcess::Target() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::string SimulatorProcess::LogText() const {
    return ReadFile(folder_ + "log");
}

std::vector<std::string> SimulatorProcess::LogLines() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(folder_ + "log"));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // A line still being written is not a line yet.
        if (!line.empty() && line.back() == '}')
            lines.push_back(line);
    }
    return lines;
}

bool SimulatorProcess::WaitForLog(const std::vector<std::string>& fragments,
                                  std::chrono::milliseconds deadline) const {
    return WaitUntil(
        [&] {
            for (const std::string& line : LogLines()) {
                bool all = true;
                for (const std::string& fragment : fragments)
                    all = all && line.find(fragment) != std::string::npos;
                if (all)
                    return true;
            }
            return false;
        },
        deadline);
}

}  // namespace harness
