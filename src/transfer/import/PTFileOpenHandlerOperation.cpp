#include "transfer/import/PTFileOpenHandlerOperation.h"

#include <memory>

PTFileOpenHandlerOperation::~PTFileOpenHandlerOperation()
{
    if (done_)
        done_();
}

void PTFileOpenHandlerOperation::execute(Done done)
{
    auto called = std::make_shared<bool>(false);
    done_ = [called, done = std::move(done)] {
        if (*called)
            return;
        *called = true;
        done();
    };
    executeWithDone(done_);
}
