# tests of reports
