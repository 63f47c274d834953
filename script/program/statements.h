#pragma once
// Statements. Each runs in a scope and reports how control leaves it: on,
// or by break, continue or exit. Jumps are status codes, so a jump can
// never outlive the loop or routine that ends it; run-time errors are
// exceptions.

#include "script/expr/expr_node.h"
#include "script/program/run_state.h"

#include <memory>
#include <string>
#include <vector>

namespace script {

class TfsScript;
class TfsCustomVariable;
class TfsSetExpression;

enum class Flow : unsigned char { Normal, Break, Continue, Exit };

using StatementList = std::vector<std::unique_ptr<class TfsStatement>>;

// A statement sequence; the other statements derive from it, and their own
// items are their bodies.
class TfsStatement {
public:
    TfsStatement(TfsScript& script, std::string sourcePos, std::string unitName);
    virtual ~TfsStatement();
    TfsStatement(const TfsStatement&) = delete;
    TfsStatement& operator=(const TfsStatement&) = delete;

    virtual Flow Execute();
    void Clear() { Items.clear(); }

    StatementList Items;
    TfsScript* Script;
    std::string SourcePos;
    std::string UnitName;

protected:
    static Flow RunList(StatementList& list)
    {
        for (auto& s : list) {
            Flow f = s->Execute();
            if (f != Flow::Normal)
                return f;
        }
        return Flow::Normal;
    }
    void Hook()
    {
        if (run_->hookOwner)
            callHook();
    }
    RunState* run_;

private:
    void callHook();
};

class TfsAssignmentStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    // The target's storage when it is a plain variable, else nullptr.
    TfsCustomVariable* TargetVar = nullptr;
    // The in-place forms: both sides Integer, so 32-bit arithmetic.
    bool IntOnly = false;
    std::unique_ptr<ExprNode> Designator;
    std::unique_ptr<ExprNode> Expression;
};

// In place: target := target op source.
class TfsAssignPlusStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    Flow Execute() override;
};
class TfsAssignMinusStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    Flow Execute() override;
};
class TfsAssignMulStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    Flow Execute() override;
};
class TfsAssignDivStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    Flow Execute() override;
};

class TfsCallStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    std::unique_ptr<ExprNode> Designator;
    std::string Modificator; // "", "+" or "-"
};

class TfsIfStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    std::unique_ptr<ExprNode> Condition;
    StatementList ElseStmt;
};

class TfsCaseSelector {
public:
    std::unique_ptr<TfsSetExpression> SetExpression;
    StatementList Items;
};

class TfsCaseStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsCaseStmt() override;
    Flow Execute() override;
    std::unique_ptr<ExprNode> Condition;
    std::vector<std::unique_ptr<TfsCaseSelector>> Selectors;
    StatementList ElseStmt;
};

class TfsRepeatStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    std::unique_ptr<ExprNode> Condition;
    bool InverseCondition = false;
};

class TfsWhileStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    std::unique_ptr<ExprNode> Condition;
};

class TfsForStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    TfsCustomVariable* Variable = nullptr;
    std::unique_ptr<ExprNode> BeginValue;
    std::unique_ptr<ExprNode> EndValue;
    bool Down = false;
};

class TfsVbForStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    TfsCustomVariable* Variable = nullptr;
    std::unique_ptr<ExprNode> BeginValue;
    std::unique_ptr<ExprNode> EndValue;
    std::unique_ptr<ExprNode> Step; // may be absent: 1
};

class TfsCppForStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    StatementList FirstStmt;
    std::unique_ptr<ExprNode> Condition; // absent: always true
    StatementList SecondStmt;
};

class TfsTryStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    bool IsExcept = false;
    StatementList ExceptStmt; // the handler or the finally part
};

class TfsBreakStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
};
class TfsContinueStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
};
class TfsExitStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
};

class TfsWithStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    Flow Execute() override;
    TfsCustomVariable* Variable = nullptr;
    std::unique_ptr<ExprNode> Designator;
};

} // namespace script
