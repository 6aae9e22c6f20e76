#pragma once

#include "platform/store/StoreCoordinator.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A store of 100,000 items in 100 sets named after the glyphs of the Material Design icon font and the files of
// the Papirus theme (names and tags normalised as the library stores them), made once per run.
struct BenchSearchStore {
    static constexpr int ItemCount = 100000;
    static constexpr int SetCount = 100;

    static BenchSearchStore& shared();
    BenchSearchStore();

    QTemporaryDir dir;
    QString path;
    std::shared_ptr<pt::store::StoreCoordinator> coordinator;
};

// The term sets of the benchmarks: one, two and three terms.
const QVector<QStringList>& benchSearchTerms();
