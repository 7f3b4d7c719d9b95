// The device list filled as a scan fills it, on the real list view under
// Wine, one row per trip through the dialog's message loop: every answer
// through AddResponse (duplicate check, row, re-sort); the same rows through
// AddRow with a timed Resort after each, for the share the re-sorting takes;
// and, to locate the rest, AddResponse again with redrawing switched off
// around each call, and with the list hidden. Rows arrive in random order,
// as the answers of a large network do; the list sorts by IP, ascending.
// An answer's time runs from its step to the next step, so that it includes
// what the loop handles in between (the list's redraw after the answers
// already queued, which here is after every answer: the worst case).
//
// Usage: list_fill_bench [DEVICES...]   (default 100 1000 5000)
#include "simulator/Device.h"
#include "simulator/Fleet.h"
#include "tests/devicelist/ListHost.h"
#include "zova/ResponseRow.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

struct Figures {
    double fill = 0;      // AddResponse, each to the next step
    double addRows = 0;   // AddRow calls alone
    double resorts = 0;   // Resort calls alone
    double noRedraw = 0;  // the same, AddResponse between WM_SETREDRAW off and on
    double hidden = 0;    // the same while the list is hidden
    int rows = 0;
};

Figures Measure(unsigned devices) {
    std::vector<ZOVA_ModuleScanResponseType> answers;
    for (const devsim::Device& device : devsim::GenerateFleet(devices, {0x02, 0x6B, 0xD4}))
        answers.push_back(devsim::ScanAnswerOf(device));
    std::shuffle(answers.begin(), answers.end(), std::mt19937(devices));

    // One row per step: the steps run as posted messages, so the dialog's
    // own loop repaints between rows as it does between the tool's
    // notifications.
    Figures figures;
    ScriptedListHost host;
    CDeviceListCtrl& list = host.m_list;
    double* pOpenTotal = nullptr;
    double openedAt = 0;
    const auto step = [&](std::function<void()> run) {
        host.AddStep([&, run] {
            if (pOpenTotal)
                *pOpenTotal += Seconds() - openedAt;
            pOpenTotal = nullptr;
            run();
        });
    };
    const auto timeToNextStep = [&](double& total) {
        pOpenTotal = &total;
        openedAt = Seconds();
    };
    step([&] { list.InsertColumns(kMainColumns); });
    for (const auto& answer : answers)
        step([&] {
            timeToNextStep(figures.fill);
            list.AddResponse(answer);
        });
    step([&] {
        figures.rows = list.GetItemCount();
        list.DeleteAllRows();
    });
    for (const auto& answer : answers)
        step([&] {
            const zova::ResponseRow row = zova::BuildResponseRow(answer);
            const double start = Seconds();
            list.AddRow(row.texts.data(), row.texts.size());
            const double added = Seconds();
            list.Resort();
            figures.addRows += added - start;
            figures.resorts += Seconds() - added;
        });
    const auto refill = [&](double Figures::*total, bool quiet) {
        step([&] { list.DeleteAllRows(); });
        for (const auto& answer : answers)
            step([&, total, quiet] {
                timeToNextStep(figures.*total);
                if (quiet)
                    list.SendMessage(WM_SETREDRAW, FALSE);
                list.AddResponse(answer);
                if (quiet) {
                    list.SendMessage(WM_SETREDRAW, TRUE);
                    list.Invalidate();
                }
            });
    };
    refill(&Figures::noRedraw, true);
    step([&] { list.ShowWindow(SW_HIDE); });
    refill(&Figures::hidden, false);
    step([&] { host.EndDialog(IDOK); });
    host.DoModal();
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<unsigned> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(static_cast<unsigned>(std::strtoul(argv[i], nullptr, 10)));
    if (counts.empty())
        counts = {100, 1000, 5000};

    std::printf("Device list filled by AddResponse, real list view under Wine, sorted by IP\n");
    std::printf("%8s %8s %14s %16s %16s %10s %16s %14s\n", "devices", "rows", "AddResponse ms",
                "AddRow only ms", "Resort only ms", "sort share", "no redraw ms", "hidden ms");
    for (const unsigned n : counts) {
        const Figures f = Measure(n);
        std::printf("%8u %8d %14.1f %16.1f %16.1f %9.0f%% %16.1f %14.1f\n", n, f.rows, f.fill * 1e3,
                    f.addRows * 1e3, f.resorts * 1e3, 100.0 * f.resorts / (f.addRows + f.resorts),
                    f.noRedraw * 1e3, f.hidden * 1e3);
        std::fflush(stdout);
    }
    return 0;
}
