# Shared procedures
