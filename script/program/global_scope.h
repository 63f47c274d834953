#pragma once
// The process-wide global scope: the parent at the end of every script's
// chain. It holds the engine's types and the constants True, False, nil and
// Null; the host adds its functions and classes to it.

namespace script {

class TfsScript;

// Created on first use; after shutdown began it is gone and not recreated
// (nullptr then).
TfsScript* GlobalScope();

} // namespace script
