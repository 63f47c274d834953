#pragma once
// A registering party: the entries it adds to a scope carry its stamp, and
// they go when it goes. The system functions and each group of the class
// library are such parties; so is any host that offers scripts its own.

namespace script {

class TfsScript;

class TfsRegistrationOwner {
public:
    explicit TfsRegistrationOwner(TfsScript& scope) noexcept : scope_(scope) {}
    // Removes (and frees) every entry of the scope that carries its stamp.
    virtual ~TfsRegistrationOwner();
    TfsRegistrationOwner(const TfsRegistrationOwner&) = delete;
    TfsRegistrationOwner& operator=(const TfsRegistrationOwner&) = delete;

    TfsScript& Scope() const noexcept { return scope_; }

protected:
    // Stamps what is added to the scope while it lives.
    class Stamp {
    public:
        explicit Stamp(TfsRegistrationOwner& owner) noexcept;
        ~Stamp();
        Stamp(const Stamp&) = delete;
        Stamp& operator=(const Stamp&) = delete;

    private:
        TfsScript& scope_;
        const void* saved_;
    };

private:
    TfsScript& scope_;
};

} // namespace script
