namespace quorix {}
