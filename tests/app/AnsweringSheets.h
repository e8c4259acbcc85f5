#pragma once

#include "engine/SheetPresenter.h"

#include <QList>

namespace tolvex {

// Answers every sheet at once: with the next queued response, else with `otherwise`.
struct AnsweringSheets : SheetPresenter {
    explicit AnsweringSheets(int otherwise) : otherwise(otherwise) {}

    void beginSheetModal(const SheetAlert& alert, std::function<void(int)> completion) override
    {
        shown << alert;
        completion(answers.isEmpty() ? otherwise : answers.takeFirst());
    }

    int otherwise;
    QList<int> answers;
    QList<SheetAlert> shown;
};

} // namespace tolvex
