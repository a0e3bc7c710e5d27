// The query window: the statement its fields build, the answers of the
// one-value query, and the shared connection around it.
#include "ui/query_window.h"

#include "market_data/database_connection.h"
#include "platform/runtime/error.h"
#include "window_fixture.h"

namespace {

constexpr const char* kRefused = "Run Query cannot be used while a simulation or another command is running.";

class QueryTest : public WindowTest {
 protected:
  // A simulation table "sim_q" with four traded rows, current.
  ui::frmQuery& QueryWindowOnTable() {
    ui::frmMain& w = LoadedWindow();
    w.objResearch->CreateSimulationTable("sim_q");
    const char* rows[] = {"#1/2/2019#, 'AAPL', 'LONG', 2.5, 40", "#1/3/2019#, 'AAPL', 'SHORT', -1.25, 60",
                          "#1/3/2019#, 'IBM', 'LONG', 4.125, 25", "#1/4/2019#, 'IBM', 'LONG', 0, 35"};
    for (const char* row : rows)
      SharedConnection().Execute("INSERT INTO [sim_q] (AcquireDate, Symbol, Positioning, GainLoss, RSI) VALUES (" +
                                 std::string(row) + ")");
    Parms().strSimTable = "sim_q";
    w.mnuQuery_Click();
    return *w.LoadedQueryWindow();
  }

  static void Ask(ui::frmQuery& q, const char* function, const char* field) {
    q.cboFunction->setEditText(function);
    q.cboOfField->setEditText(field);
  }
  static void Condition(ui::frmQuery& q, int row, const char* field, const char* criteria) {
    q.cboWhereField(row)->setEditText(field);
    q.txtIsCriteria(row)->setText(criteria);
  }
  static std::string Run(ui::frmQuery& q) {
    q.cmdQuery_Click();
    return q.lblResult(19)->text().toStdString();
  }
};

}  // namespace

TEST_F(QueryTest, TheWindowIsReachedThroughItsHiddenMenuItem) {
  ui::frmMain& w = LoadedWindow();
  EXPECT_FALSE(w.Menu("mnuQuery")->isVisible());
  EXPECT_EQ(w.LoadedQueryWindow(), nullptr);
  w.Menu("mnuQuery")->trigger();
  ui::frmQuery* q = w.LoadedQueryWindow();
  ASSERT_NE(q, nullptr);
  EXPECT_TRUE(q->isVisible());
  EXPECT_FALSE(q->isModal());
  EXPECT_EQ(q->windowTitle(), "Query Simulation Database");
  EXPECT_EQ(q->tabResults->tabText(0), "Queries");
  EXPECT_EQ(q->tabResults->tabText(1), "Reports");
  EXPECT_EQ(q->cboFunction->count(), 5);
  EXPECT_EQ(q->cboOfField->count(), 15);
  EXPECT_EQ(q->cboOfField->itemText(14), "[NS_MA]");
  EXPECT_EQ(q->cboWhereField(3)->count(), 11);
  EXPECT_EQ(q->lblResult(19)->text(), "RESULT");
  EXPECT_EQ(q->lblResult(14)->text(), "WHERE");
  EXPECT_EQ(q->lblResult(25)->text(), "AND");
  EXPECT_EQ(q->cmdQuery->text(), "Run Query");
}

TEST_F(QueryTest, TheStatementJoinsTheFilledRowsWithWhereAndAnd) {
  ui::frmQuery& q = QueryWindowOnTable();
  Ask(q, "Count", "GainLoss");
  EXPECT_EQ(q.QueryStatement(), "SELECT Count(GainLoss) FROM [sim_q]");
  EXPECT_EQ(Run(q), "4");

  // Row 1 empty (its criteria notwithstanding) is skipped.
  Condition(q, 0, "GainLoss", "> 0");
  Condition(q, 1, "", "= 99");
  Condition(q, 2, "RSI", "< 30");
  EXPECT_EQ(q.QueryStatement(), "SELECT Count(GainLoss) FROM [sim_q] WHERE GainLoss > 0 AND RSI < 30");
  EXPECT_EQ(Run(q), "1");

  // Without row 0 the conditions start with AND, which fails.
  Condition(q, 0, "", "");
  EXPECT_EQ(q.QueryStatement(), "SELECT Count(GainLoss) FROM [sim_q] AND RSI < 30");
  EXPECT_EQ(Run(q), "ERROR!!");
}

TEST_F(QueryTest, AnswersAreRoundedToTwoPlacesAndFailuresShowError) {
  ui::frmQuery& q = QueryWindowOnTable();
  Ask(q, "Avg", "GainLoss");
  EXPECT_EQ(Run(q), "1.34");  // 5.375 / 4 = 1.34375
  Condition(q, 0, "GainLoss", "> 100");
  Ask(q, "Max", "GainLoss");
  EXPECT_EQ(Run(q), "No Result");
  Condition(q, 0, "", "");
  Ask(q, "Sum", "Position");  // not a column of the table
  EXPECT_EQ(Run(q), "ERROR!!");
  Ask(q, "Sum", "");
  EXPECT_EQ(Run(q), "ERROR!!");
  Ask(q, "Max", "AcquireDate");  // a date answers its day number
  EXPECT_EQ(Run(q), "43469");
  Ask(q, "Max", "[DJ_RSI]");  // the index columns hold nothing here
  EXPECT_EQ(Run(q), "No Result");

  // No current simulation, or a name that cannot stand between brackets.
  Parms().strSimTable.clear();
  EXPECT_EQ(Run(q), "ERROR!!");
  Parms().strSimTable = "sim_q] WHERE 1=1 --";
  EXPECT_EQ(Run(q), "ERROR!!");
}

TEST_F(QueryTest, AQueryLeavesTheMainEngineItsConnection) {
  ui::frmQuery& q = QueryWindowOnTable();
  std::shared_ptr<db::Connection> before = cnDatabase;
  Ask(q, "Sum", "GainLoss");
  EXPECT_EQ(Run(q), "5.38");
  EXPECT_EQ(cnDatabase, before);
  ASSERT_TRUE(cnDatabase->IsOpen());

  // A Trade run on the same table works afterwards.
  window->tabResearch->setCurrentIndex(1);
  window->cmdSimulate_Click();
  EXPECT_EQ(window->Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_EQ(cnDatabase, before);
  Ask(q, "Sum", "RSI");  // the Trade stage leaves the Select columns alone
  EXPECT_EQ(Run(q), "160");
}

TEST_F(QueryTest, DuringARunTheQueryAndTheIndexLoadAreRefused) {
  ui::frmQuery& q = QueryWindowOnTable();
  Ask(q, "Count", "RSI");
  std::shared_ptr<db::Connection> before = cnDatabase;
  window->tabResearch->setCurrentIndex(1);
  int tries = 0;
  scripted->OnDoEvents([&](int) {
    if (tries++ > 0 || !window->RunInProgress()) return;
    scripted->AnswerMsgBox(user::kAnswerOK, kRefused);
    q.cmdQuery_Click();
    EXPECT_EQ(q.lblResult(19)->text(), "RESULT");
    std::string symbol = "^DJI";
    rt::Date start = rt::DateSerial(2019, 1, 2), end = rt::DateSerial(2019, 1, 4);
    EXPECT_THROW(window->LoadIndexData(symbol, start, end), rt::Error);
  });
  window->cmdSimulate_Click();
  scripted->OnDoEvents(nullptr);

  EXPECT_GT(tries, 0);
  EXPECT_EQ(window->Label("lblCurrStock", 1)->text(), "Processing Complete");
  EXPECT_EQ(cnDatabase, before);
  EXPECT_EQ(Run(q), "4");
}
