#include "start/greissue.h"

#include "bank/topiclibrary.h"
#include "start/randomtopic.h"

IssueForm issueFormOf(int number)
{
    return IssueForm((number - 1) % IssueFormCount);
}

QString issueFormName(IssueForm form)
{
    return IssueFormNames.at(std::size_t(form));
}

int drawGreIssueTopic(std::optional<IssueForm> form, std::uint64_t seed)
{
    if (!form)
        return drawRandomTopic(GreIssueTopicCount, seed);
    // The topics of one form are every sixth, from the form's first.
    const int nth = drawRandomTopic(GreIssueTopicCount / IssueFormCount, seed);
    return (nth - 1) * IssueFormCount + int(*form) + 1;
}
