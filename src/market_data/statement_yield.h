#pragma once
// While a YieldInStatements lives, a statement on the shared connection that
// runs long (a table's key index built, every row of a big table updated or
// read) yields to the window system between its steps, as the run's loops
// do between rows, so that no single statement holds the window. Scopes
// nest; the yields end with the outermost one.
class YieldInStatements {
 public:
  YieldInStatements();
  ~YieldInStatements();
  YieldInStatements(const YieldInStatements&) = delete;
  YieldInStatements& operator=(const YieldInStatements&) = delete;
};
