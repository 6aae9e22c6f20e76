#include "svg/render/PTSVGCATransaction.h"

#include "platform/runtime/DispatchQueue.h"

void PTSVGPerformInTransaction(const std::function<void()>& block, bool onMainQueue)
{
    PTSVGCATransactionBegin();
    if (onMainQueue)
        pt::DispatchQueue::main().sync(block);
    else
        block();
    PTSVGCATransactionEnd();
}
