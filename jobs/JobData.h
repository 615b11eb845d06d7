#pragma once

class KeyCatalogue;
struct Configuration;
struct PressCounters;

// What a device job takes what it sends from and hands what it read to: the configuration and
// the press counters, touched on the user-interface thread only (before the worker starts and
// once its done message has arrived), and the catalogue the keys are translated with, which
// does not change and is read by the worker too.
struct JobData {
    const KeyCatalogue &catalogue;
    Configuration &configuration;
    PressCounters &pressCounters;
};
