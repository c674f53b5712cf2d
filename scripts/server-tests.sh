# Sourced by scripts/slow and scripts/test: which tests of build/test talk to a server.
#
# server_labels: the CTest labels of the tests that talk to the tests' portal, the portal stub or
# the tests' HTTP server (the road tests, the wire tests, the game scripts, every screen test that
# signs in against the tests' portal, every test of the tests' HTTP server). scripts/slow runs
# them each alone with every message held back; scripts/test runs the other tests each alone
# without.
server_labels='e2e|drive|net|portal|account|lobby|social|table|http'
# slow_left_out: the one of them scripts/slow leaves out: a thousand answers read one after
# another (the social-network SDK's random answers), which checks how answers are read, not
# when, and would take a thousand seconds held back. scripts/test runs it alone without.
slow_left_out='SNRequestLogTest[.]RandomAnswersNeverCrashAndEveryHandlerHearsOnce'
# slow_alone: the tests that take minutes held back (a hundred table visits, twenty stops or
# terminations, every bounded wait or money row walked): scripts/slow runs each alone and
# first, so that none of them ends its run late in a shard of eight.
slow_alone='TableVisitsRoad[.]AHundred|StubStop[.]AStopWhileClientsAreConnecting|MoneyRowsWalk[.]|LobbyWaits[.]Every|LobbyWaits[.]Escape|ExitUnderTraffic[.]|WindowRoad[.]EveryTextField|LobbyWire[.]Every|LobbyWire[.]AStubPlayer'
# longest_programs: the test programs that take minutes whole (the roads, the game scripts):
# scripts/shuffled starts their processes first.
longest_programs='e2e_tests|scripts_tests'
