#pragma once

#include "library/store/PTStoreStackHost.h"

// A store-stack host for benchmarks: a store file at a path, failures ignored.
class BenchStoreHost : public PTStoreStackHost {
public:
    explicit BenchStoreHost(QString path) : path_(std::move(path)) {}
    QString storePath() const override { return path_; }
    void presentError(const pt::Error&) override {}
    void saveFailed(const pt::Error&) override {}

private:
    QString path_;
};
